// The PDF viewer page: shows the PDF named by the query "?file=URL" as one continuous column of
// pages. The state is published on the root element (data-state, data-pages-rendered) so the
// application and tests can wait for it without hooks into this script.
import * as pdfjsLib from '../build/pdf.min.mjs';

const MIN_SCALE = 0.25;
const MAX_SCALE = 5;
const SCALE_STEP = 1.1;
const LINE_SCROLL = 40;

const root = document.documentElement;
const $ = (id) => document.getElementById(id);

pdfjsLib.GlobalWorkerOptions.workerSrc = new URL('../build/pdf.worker.min.mjs', import.meta.url).href;

// The "file" item of the query, decoded once, is the address of the PDF; the browser panel
// escapes a path's "%", "#", "?", "&" and "+" so that they survive that one decoding. "+" is
// not read as a space. A hand-written query with a bare "%" is taken as it stands.
export function fileUrlFromLocation(href) {
  let search;
  try {
    search = new URL(href).search.slice(1);
  } catch {
    return null;
  }
  const item = search.split('&').find((part) => part.startsWith('file='));
  if (item === undefined) return null;
  let value = item.slice('file='.length);
  try {
    value = decodeURIComponent(value);
  } catch {
    value = value.replace(/%(?![0-9A-Fa-f]{2})/g, '%25');
  }
  let url;
  try {
    url = new URL(value);
  } catch {
    return null;
  }
  return url.protocol === 'http:' || url.protocol === 'https:' ? url.href : null;
}

// The application puts the key of its server's "/files/" route in the fragment ("#key=..."),
// which is never sent; it goes into the query of the file's own address only, and only when
// that address is the route on this machine.
export function keyedFileUrl(fileUrl, href) {
  let key;
  let url;
  try {
    key = new URLSearchParams(new URL(href).hash.slice(1)).get('key');
    url = new URL(fileUrl);
  } catch {
    return fileUrl;
  }
  const local = url.hostname === 'localhost' || url.hostname === '127.0.0.1';
  if (!key || !local || !url.pathname.startsWith('/files/')) return fileUrl;
  url.searchParams.set('key', key);
  return url.href;
}

// "/files/@@home@@a%20b@@x.pdf" names "/home/a b/x.pdf" on the application's server.
function displayName(url) {
  let path;
  try {
    path = decodeURIComponent(new URL(url).pathname);
  } catch {
    return url;
  }
  if (path.startsWith('/files/')) path = path.slice('/files'.length).replace(/@@/g, '/');
  return path.replace(/^\/+/, '/');
}

function reasonFor(error, url) {
  const name = url ? displayName(url) : '';
  switch (error?.name) {
    case 'MissingPDFException':
      return `The file was not found: ${name}`;
    case 'UnexpectedResponseException':
      return `The server answered with status ${error.status} for ${name}`;
    case 'InvalidPDFException':
      return `The file is not a valid PDF: ${name}`;
    case 'PasswordException':
      return `The file is protected by a password: ${name}`;
    default:
      // A refused cross-origin read and a dropped connection look alike to the page, and a
      // missing file answered without CORS headers looks like them too.
      if (url && /fetch|network/i.test(error?.message ?? '')) {
        return `The file could not be read from the server (it may be missing): ${name}`;
      }
      return error?.message || String(error);
  }
}

function showError(reason) {
  $('reason').textContent = reason;
  $('message').hidden = false;
  $('pageInfo').textContent = '';
  root.dataset.state = 'error';
  console.error('PDF viewer: ' + reason);
}

async function main() {
  const fileUrl = fileUrlFromLocation(location.href);
  if (!fileUrl) {
    showError('The address of the file is missing or is not an http(s) address.');
    return;
  }
  document.title = displayName(fileUrl).split('/').pop() || document.title;

  // The viewer components read the library from this global at load time.
  globalThis.pdfjsLib = pdfjsLib;
  const { EventBus, PDFLinkService, PDFViewer, LinkTarget } = await import('../build/pdf_viewer.mjs');

  const container = $('viewerContainer');
  const eventBus = new EventBus();
  const linkService = new PDFLinkService({ eventBus, externalLinkTarget: LinkTarget.BLANK });
  const viewer = new PDFViewer({
    container,
    viewer: $('viewer'),
    eventBus,
    linkService,
    textLayerMode: 1,
    annotationMode: pdfjsLib.AnnotationMode.ENABLE,
  });
  linkService.setViewer(viewer);

  let fitWidth = true;
  const rendered = new Set();

  const updateToolbar = () => {
    const count = viewer.pagesCount;
    const page = viewer.currentPageNumber;
    $('pageInfo').textContent = count ? `Page ${page} of ${count}` : '';
    $('previous').disabled = !count || page <= 1;
    $('next').disabled = !count || page >= count;
    $('zoomOut').disabled = !count || viewer.currentScale <= MIN_SCALE + 1e-6;
    $('zoomIn').disabled = !count || viewer.currentScale >= MAX_SCALE - 1e-6;
    $('fitWidth').disabled = !count;
    $('zoomInfo').textContent = count ? `${Math.round(viewer.currentScale * 100)}%` : '';
  };

  const zoom = (factor) => {
    if (!viewer.pagesCount) return;
    fitWidth = false;
    viewer.currentScale = Math.min(MAX_SCALE, Math.max(MIN_SCALE, viewer.currentScale * factor));
  };
  const fit = () => {
    if (!viewer.pagesCount) return;
    fitWidth = true;
    viewer.currentScaleValue = 'page-width';
  };
  const goTo = (page) => {
    if (!viewer.pagesCount) return;
    viewer.currentPageNumber = Math.min(viewer.pagesCount, Math.max(1, page));
  };

  eventBus.on('pagesinit', () => {
    fit();
    updateToolbar();
  });
  eventBus.on('pagechanging', updateToolbar);
  eventBus.on('scalechanging', updateToolbar);
  eventBus.on('pagerendered', ({ pageNumber, error }) => {
    if (error) return;
    rendered.add(pageNumber);
    root.dataset.pagesRendered = String(rendered.size);
    if (root.dataset.state === 'loading') root.dataset.state = 'ready';
  });

  // The panel is resized by the user: the pages keep filling its width until they zoom.
  let resizeFrame = 0;
  new ResizeObserver(() => {
    if (!fitWidth || resizeFrame) return;
    resizeFrame = requestAnimationFrame(() => {
      resizeFrame = 0;
      if (fitWidth) fit();
    });
  }).observe(container);

  $('previous').addEventListener('click', () => goTo(viewer.currentPageNumber - 1));
  $('next').addEventListener('click', () => goTo(viewer.currentPageNumber + 1));
  $('zoomOut').addEventListener('click', () => zoom(1 / SCALE_STEP));
  $('zoomIn').addEventListener('click', () => zoom(SCALE_STEP));
  $('fitWidth').addEventListener('click', fit);

  window.addEventListener('keydown', (event) => {
    if (event.target instanceof HTMLInputElement || event.altKey || event.metaKey) return;
    const ctrl = event.ctrlKey;
    let handled = true;
    if (ctrl && (event.key === '+' || event.key === '=')) zoom(SCALE_STEP);
    else if (ctrl && (event.key === '-' || event.key === '_')) zoom(1 / SCALE_STEP);
    else if (ctrl && event.key === '0') fit();
    else if (ctrl) handled = false;
    else if (event.key === 'ArrowDown') container.scrollTop += LINE_SCROLL;
    else if (event.key === 'ArrowUp') container.scrollTop -= LINE_SCROLL;
    else if (event.key === 'ArrowRight' && container.scrollWidth > container.clientWidth) {
      container.scrollLeft += LINE_SCROLL;
    } else if (event.key === 'ArrowLeft' && container.scrollWidth > container.clientWidth) {
      container.scrollLeft -= LINE_SCROLL;
    } else if (event.key === 'ArrowRight') goTo(viewer.currentPageNumber + 1);
    else if (event.key === 'ArrowLeft') goTo(viewer.currentPageNumber - 1);
    else if (event.key === 'PageDown') goTo(viewer.currentPageNumber + 1);
    else if (event.key === 'PageUp') goTo(viewer.currentPageNumber - 1);
    else if (event.key === 'Home') goTo(1);
    else if (event.key === 'End') goTo(viewer.pagesCount);
    else handled = false;
    if (handled) event.preventDefault();
  });
  // Ctrl + wheel zooms the document, not the whole page with its toolbar.
  container.addEventListener(
    'wheel',
    (event) => {
      if (!event.ctrlKey) return;
      event.preventDefault();
      zoom(event.deltaY < 0 ? SCALE_STEP : 1 / SCALE_STEP);
    },
    { passive: false },
  );

  const loadingTask = pdfjsLib.getDocument({
    // Range requests of the library go to this same address, key and all.
    url: keyedFileUrl(fileUrl, location.href),
    cMapUrl: new URL('../build/cmaps/', import.meta.url).href,
    cMapPacked: true,
    standardFontDataUrl: new URL('../build/standard_fonts/', import.meta.url).href,
    // A PDF is untrusted input: no code generated from its fonts, no forms scripting.
    isEvalSupported: false,
    enableXfa: false,
  });
  // No password dialog here: a protected file is reported like any other failure.
  loadingTask.onPassword = () => {
    showError(reasonFor({ name: 'PasswordException' }, fileUrl));
    loadingTask.destroy();
  };
  let document_;
  try {
    document_ = await loadingTask.promise;
  } catch (error) {
    if (root.dataset.state !== 'error') showError(reasonFor(error, fileUrl));
    return;
  }
  viewer.setDocument(document_);
  linkService.setDocument(document_, null);
  root.dataset.pages = String(document_.numPages);
  container.focus({ preventScroll: true });
}

main().catch((error) => showError(reasonFor(error, null)));
