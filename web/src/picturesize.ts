// A picture's size from the first bytes of its file, before the browser decodes it, so that a
// picture too large to hold is refused without decoding it. null for a format not known here
// (the browser then decodes it and the size is checked after).
export function pictureSize(bytes: Uint8Array): { width: number; height: number } | null {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const has = (offset: number, text: string): boolean =>
    bytes.length >= offset + text.length &&
    [...text].every((ch, i) => bytes[offset + i] === ch.charCodeAt(0));
  if (has(0, '\x89PNG') && bytes.length >= 24)
    return { width: view.getUint32(16), height: view.getUint32(20) };
  if (has(0, 'GIF8') && bytes.length >= 10)
    return { width: view.getUint16(6, true), height: view.getUint16(8, true) };
  if (has(0, 'BM') && bytes.length >= 26)
    return { width: Math.abs(view.getInt32(18, true)), height: Math.abs(view.getInt32(22, true)) };
  if (has(0, 'RIFF') && has(8, 'WEBP') && bytes.length >= 30) {
    if (has(12, 'VP8X'))
      return { width: 1 + (view.getUint32(24, true) & 0xffffff), height: 1 + (view.getUint32(27, true) & 0xffffff) };
    if (has(12, 'VP8L'))
      return { width: 1 + (view.getUint16(21, true) & 0x3fff), height: 1 + ((view.getUint32(21, true) >> 14) & 0x3fff) };
    if (has(12, 'VP8 '))
      return { width: view.getUint16(26, true) & 0x3fff, height: view.getUint16(28, true) & 0x3fff };
  }
  if (bytes[0] === 0xff && bytes[1] === 0xd8) {
    // JPEG: the first start-of-frame marker carries the size.
    let offset = 2;
    while (offset + 9 < bytes.length) {
      if (bytes[offset] !== 0xff) return null;
      const marker = bytes[offset + 1];
      if (marker === 0xff) { offset += 1; continue; }
      const length = view.getUint16(offset + 2);
      const startOfFrame = marker >= 0xc0 && marker <= 0xcf && marker !== 0xc4 && marker !== 0xc8 && marker !== 0xcc;
      if (startOfFrame) return { width: view.getUint16(offset + 7), height: view.getUint16(offset + 5) };
      offset += 2 + length;
    }
  }
  return null;
}
