// The module that Emscripten writes for web/binding (built into build-web/wasm/), and its
// WebAssembly bytes, which the bundle carries (build.mjs).
declare module 'studiocore' {
  import type { StudioModuleFactory } from './core';
  const createStudioCore: StudioModuleFactory;
  export default createStudioCore;
}
declare module 'studiocore-wasm' {
  const bytes: Uint8Array<ArrayBuffer>;
  export default bytes;
}
