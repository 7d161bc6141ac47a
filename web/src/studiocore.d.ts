// The module that Emscripten writes for web/binding (built into build-web/wasm/).
declare module 'studiocore' {
  const createStudioCore: (settings?: { wasmBinary?: Uint8Array }) => Promise<unknown>;
  export default createStudioCore;
}
