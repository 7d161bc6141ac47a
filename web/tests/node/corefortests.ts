// The core's WebAssembly module loaded in Node. Emscripten's loader cannot fetch a file path in
// Node.js 20, so the module's bytes are handed over.
import fs from 'node:fs';
import createStudioCore from 'studiocore';
import { StudioCore } from '../../src/core';

declare const STUDIO_WASM_PATH: string; // set by build.mjs

export function loadCore(): Promise<StudioCore> {
  return StudioCore.load(createStudioCore, fs.readFileSync(STUDIO_WASM_PATH));
}
