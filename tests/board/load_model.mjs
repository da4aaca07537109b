// Loads the board's model scripts the way the page does (a classic script that fills
// globalThis.DravinBoard), so the tests exercise the shipped file itself.
import { readFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import vm from 'node:vm';

const here = dirname(fileURLToPath(import.meta.url));
export const boardFolder = resolve(here, '../../resources/dravinboard');

export function loadModel() {
  delete globalThis.DravinBoard;
  for (const name of ['model.js', 'geometry.js', 'document.js', 'document_io.js',
    'freehand/freehand.js', 'page_svg.js']) {
    const file = resolve(boardFolder, 'assets', name);
    vm.runInThisContext(readFileSync(file, 'utf8'), { filename: file });
  }
  return globalThis.DravinBoard;
}
