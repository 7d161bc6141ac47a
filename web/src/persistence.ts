// Keeps the current work in the browser's IndexedDB so that a reload of the tab restores it:
// the work as JSON, and the bytes of the file it was opened from (decoded again on restore).
import { restoredWork, storedWork, type Work } from './work';

const DatabaseName = 'tarrow-boot-screen-studio';
const StoreName = 'kept';

export interface KeptSource {
  id: string;
  bytes: Blob;
}

function openDatabase(): Promise<IDBDatabase> {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(DatabaseName, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(StoreName);
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

function got<T>(request: IDBRequest<T>): Promise<T> {
  return new Promise((resolve, reject) => {
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

export class Keeper {
  private constructor(private readonly database: IDBDatabase) {}

  static async open(): Promise<Keeper | null> {
    try {
      return new Keeper(await openDatabase());
    } catch {
      return null; // storage refused (a private window, say): the work lives until the tab closes
    }
  }

  // Stores the work, and the source's bytes when given (only when the source changes). The
  // two are written in one transaction, so a reload never finds a work without its source.
  async keep(work: Work, source?: KeptSource | null): Promise<void> {
    const transaction = this.database.transaction(StoreName, 'readwrite');
    const store = transaction.objectStore(StoreName);
    store.put(storedWork(work), 'work');
    if (source !== undefined) {
      if (source) store.put(source, 'source');
      else store.delete('source');
    }
    await done(transaction);
  }

  async restore(): Promise<{ work: Work; source: KeptSource | null } | null> {
    const transaction = this.database.transaction(StoreName, 'readonly');
    const store = transaction.objectStore(StoreName);
    const [storedValue, sourceValue] = await Promise.all([got(store.get('work')), got(store.get('source'))]);
    const work = restoredWork(storedValue);
    if (!work) return null;
    const source = sourceValue as KeptSource | undefined;
    if (work.source && (!source || source.id !== work.source.id || !(source.bytes instanceof Blob)))
      return null;
    return { work, source: work.source ? (source as KeptSource) : null };
  }
}
