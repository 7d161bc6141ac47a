// Turning a file the owner opens, drops or pastes into what the studio shows: a picture's straight
// RGBA pixels (reduced when large), or a screen read whole from a .tbs file or the editor's bitmap.
import type { Screen, StudioCore } from './core';
import { pictureSize } from './picturesize';

export interface OpenedPicture {
  kind: 'picture';
  rgba: Uint8ClampedArray;
  width: number;
  height: number;
  fullWidth: number;
  fullHeight: number;
}

export interface OpenedScreen {
  kind: 'screen';
  screen: Screen;
  findings: string[]; // what tbs check says of a .tbs file that is not exactly as written
}

export type Opened = OpenedPicture | OpenedScreen;

// Larger pictures are decoded reduced to about this many pixels, which keeps every redraw
// within a frame; the core places the reduced copy where the full picture would land.
export const MaxHeldPixels = 1_000_000;

export class OpenError extends Error {}

export async function readTbs(core: StudioCore, name: string, file: Blob): Promise<OpenedScreen> {
  // Only the reader's cap of bytes counts; one byte more tells whether text follows.
  const { readByteCap, words } = core.vocabulary;
  const bytes = new Uint8Array(await file.slice(0, readByteCap + 1).arrayBuffer());
  const { screen, takenLines } = core.readTbs(bytes);
  if (takenLines === 0) throw new OpenError(`${name}: ${words.notABootScreenFile}`);
  return { kind: 'screen', screen, findings: core.checkTbs(bytes, name) };
}

export async function readPicture(core: StudioCore, name: string, file: Blob): Promise<Opened> {
  const head = new Uint8Array(await file.slice(0, 64 * 1024).arrayBuffer());
  const announced = pictureSize(head);
  if (announced) refuseTooLarge(core, name, announced.width, announced.height);
  const decoded = await decodeScaled(name, file, head, announced) ??
    await decodeBitmap(core, name, file, announced);
  const { width, height } = decoded.full;
  refuseTooLarge(core, name, width, height);
  if (decoded.width !== width || decoded.height !== height)
    return { kind: 'picture', rgba: decoded.rgba, width: decoded.width, height: decoded.height, fullWidth: width, fullHeight: height };
  const cells = core.readEditorBitmap(decoded.rgba, width, height);
  if (cells) return { kind: 'screen', screen: cells, findings: [] };
  return { kind: 'picture', rgba: decoded.rgba, width, height, fullWidth: width, fullHeight: height };
}

interface Decoded {
  rgba: Uint8ClampedArray;
  width: number;
  height: number;
  full: { width: number; height: number }; // the picture's own size, turned as it is shown
}

// The size a picture is held at when it has more than MaxHeldPixels; null when it has not.
function reducedSize(width: number, height: number): { width: number; height: number } | null {
  if (width * height <= MaxHeldPixels) return null;
  const scale = Math.sqrt(MaxHeldPixels / (width * height));
  return { width: Math.max(1, Math.round(width * scale)), height: Math.max(1, Math.round(height * scale)) };
}

// Decodes a JPEG with WebCodecs' ImageDecoder where the browser has it: asked for a smaller
// size, it decodes at that scale (as tbs does), several times faster than whole. Only JPEG:
// the frames of pictures with alpha do not keep partly transparent colours exactly. null where
// it does not apply.
async function decodeScaled(name: string, file: Blob, head: Uint8Array,
  announced: { width: number; height: number } | null): Promise<Decoded | null> {
  const type = 'image/jpeg';
  if (typeof ImageDecoder === 'undefined' || head[0] !== 0xff || head[1] !== 0xd8 ||
    !(await ImageDecoder.isTypeSupported(type)))
    return null;
  const reduced = announced && reducedSize(announced.width, announced.height);
  let decoder: ImageDecoder | null = null;
  let frame: VideoFrame | null = null;
  try {
    // premultiplyAlpha is in the WebCodecs standard, not yet in TypeScript's DOM types.
    decoder = new ImageDecoder({
      data: file.stream(), type, colorSpaceConversion: 'none', premultiplyAlpha: 'none',
      ...(reduced ? { desiredWidth: reduced.width, desiredHeight: reduced.height } : {}),
    } as ImageDecoderInit);
    frame = (await decoder.decode({ completeFramesOnly: true })).image;
    const width = frame.displayWidth;
    const height = frame.displayHeight;
    // The decoder turns the picture as its EXIF orientation says; the announced size is stored.
    const turned = announced && reduced && (width > height) !== (announced.width > announced.height);
    const full = !announced || !reduced ? { width, height }
      : turned ? { width: announced.height, height: announced.width } : announced;
    if (!reduced && reducedSize(width, height)) return null; // size unknown beforehand: reduce by bitmap
    const rgba = new Uint8ClampedArray(width * height * 4);
    await frame.copyTo(rgba, { format: 'RGBA' });
    return { rgba, width, height, full };
  } catch {
    throw new OpenError(`${name}: not a picture this browser can read, or damaged`);
  } finally {
    frame?.close();
    decoder?.close();
  }
}

async function decodeBitmap(core: StudioCore, name: string, file: Blob,
  announced: { width: number; height: number } | null): Promise<Decoded> {
  let bitmap = await bitmapOf(name, file, announced);
  try {
    const full = announced ?? { width: bitmap.width, height: bitmap.height };
    if (!announced && reducedSize(bitmap.width, bitmap.height)) {
      refuseTooLarge(core, name, bitmap.width, bitmap.height);
      bitmap.close();
      bitmap = await bitmapOf(name, file, full);
    }
    return { rgba: pixelsOf(bitmap), width: bitmap.width, height: bitmap.height, full };
  } finally {
    bitmap.close();
  }
}

async function bitmapOf(name: string, file: Blob, size: { width: number; height: number } | null): Promise<ImageBitmap> {
  const reduced = size && reducedSize(size.width, size.height);
  try {
    // Pixels as the file has them: no colour management, alpha not premultiplied.
    return await createImageBitmap(file, {
      colorSpaceConversion: 'none',
      premultiplyAlpha: 'none',
      ...(reduced ? { resizeWidth: reduced.width, resizeHeight: reduced.height, resizeQuality: 'medium' } : {}),
    });
  } catch {
    throw new OpenError(`${name}: not a picture this browser can read`);
  }
}

// Decoding a picture larger than the core takes in would take the tab's memory.
function refuseTooLarge(core: StudioCore, name: string, width: number, height: number): void {
  const problem = core.pictureSizeProblem(width, height);
  if (problem) throw new OpenError(`${name}: ${problem}`);
}

// The bitmap's straight RGBA pixels. A 2D canvas keeps its pixels premultiplied, which rounds
// the colour of every partly transparent pixel; those pictures are read again through WebGL,
// which hands over the pixels untouched.
function pixelsOf(bitmap: ImageBitmap): Uint8ClampedArray {
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const context = canvas.getContext('2d', { willReadFrequently: true });
  if (!context) throw new OpenError('this browser gives no canvas to read pictures with');
  context.drawImage(bitmap, 0, 0);
  const pixels = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
  for (let i = 3; i < pixels.length; i += 4) {
    if (pixels[i] !== 0 && pixels[i] !== 255) return straightPixelsOf(bitmap) ?? pixels;
  }
  return pixels;
}

function straightPixelsOf(bitmap: ImageBitmap): Uint8ClampedArray | null {
  const gl = new OffscreenCanvas(1, 1).getContext('webgl2');
  if (!gl) return null;
  try {
    gl.pixelStorei(gl.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
    gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.NONE);
    const texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, gl.RGBA, gl.UNSIGNED_BYTE, bitmap);
    const framebuffer = gl.createFramebuffer();
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
    if (gl.checkFramebufferStatus(gl.FRAMEBUFFER) !== gl.FRAMEBUFFER_COMPLETE) return null;
    const pixels = new Uint8ClampedArray(bitmap.width * bitmap.height * 4);
    gl.readPixels(0, 0, bitmap.width, bitmap.height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    return gl.getError() === gl.NO_ERROR ? pixels : null;
  } finally {
    gl.getExtension('WEBGL_lose_context')?.loseContext();
  }
}
