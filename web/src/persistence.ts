// Keeps the current work in the browser so that a reload of the tab restores it: the work as
// JSON in localStorage, read at once when the page starts, and the bytes of the file it was
// opened from in IndexedDB (decoded again on restore), opened only when there are bytes to keep
// or to read.
import { storedWork, type Work } from './work';

const WorkKey = 'tarrow-boot-screen-studio:work';
const DatabaseName = 'tarrow-boot-screen-studio';
const StoreName = 'sources';

export interface KeptSource {
  id: string;
  bytes: Blob;
}

// The work as it was stored, to be read with the core's rules (restoredWork), and its source's
// bytes.
export interface KeptWork {
  stored: unknown;
  source: KeptSource | null;
}

function openDatabase(): Promise<IDBDatabase> {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(DatabaseName, 2);
    request.onupgradeneeded = () => {
      const database = request.result;
      for (const name of [...database.objectStoreNames]) database.deleteObjectStore(name);
      database.createObjectStore(StoreName);
    };
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

function done(transaction: IDBTransaction): Promise<void> {
  return new Promise((resolve, reject) => {
    transaction.oncomplete = () => resolve();
    transaction.onerror = () => reject(transaction.error);
    transaction.onabort = () => reject(transaction.error);
  });
}

export class Keeper {
  private database: Promise<IDBDatabase> | null = null;

  private sources(): Promise<IDBDatabase> {
    this.database ??= openDatabase();
    return this.database;
  }

  // The work kept last time with its source's bytes; null when nothing is kept, or the bytes of
  // the source it names are not.
  async restore(): Promise<KeptWork | null> {
    let stored: unknown;
    try {
      stored = JSON.parse(localStorage.getItem(WorkKey) ?? 'null');
    } catch {
      return null; // storage refused, or not JSON
    }
    if (typeof stored !== 'object' || stored === null) return null;
    const id = (stored as { source?: { id?: unknown } | null }).source?.id;
    if (typeof id !== 'string') return { stored, source: null };
    const database = await this.sources();
    const transaction = database.transaction(StoreName, 'readonly');
    const request = transaction.objectStore(StoreName).get(id);
    await done(transaction);
    const bytes = request.result as unknown;
    return bytes instanceof Blob ? { stored, source: { id, bytes } } : null;
  }

  // Stores the work, and the source's bytes when given (only when the source changes). The bytes
  // are stored before the work that names them, and the bytes of other sources are dropped
  // after it, so a reload finds a work with its source or the one before.
  async keep(work: Work, source?: KeptSource | null): Promise<void> {
    if (source) {
      const transaction = (await this.sources()).transaction(StoreName, 'readwrite');
      transaction.objectStore(StoreName).put(source.bytes, source.id);
      await done(transaction);
    }
    localStorage.setItem(WorkKey, JSON.stringify(storedWork(work)));
    if (source !== undefined) {
      const transaction = (await this.sources()).transaction(StoreName, 'readwrite');
      const store = transaction.objectStore(StoreName);
      const keys = await new Promise<IDBValidKey[]>((resolve, reject) => {
        const request = store.getAllKeys();
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
      for (const key of keys) if (key !== source?.id) store.delete(key);
      await done(transaction);
    }
  }
}
