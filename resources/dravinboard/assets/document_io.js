// The document as the application keeps it: the JSON of serialize() and load(), checked item by
// item, and the addresses of the assets it names. No DOM here, so the same file runs under node.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});

  const kFormat = 'dravinboard-document';
  const kVersion = 1;
  const kAssetPattern = /^asset:([0-9a-f]{40})\.([a-z0-9]+)(?:#([0-9]+))?$/;
  const kColour = /^#([0-9a-fA-F]{3,4}|[0-9a-fA-F]{6}|[0-9a-fA-F]{8})$/;
  const kShapes = ['line', 'arrow', 'rect', 'ellipse'];
  // What a picture may be drawn from: an asset, picture data, or an address of the server.
  const kPictureSource = /^(asset:|data:image\/|https?:\/\/)/;

  // ---- Assets ------------------------------------------------------------------------------

  function parseAsset(ref) {
    const m = typeof ref === 'string' ? kAssetPattern.exec(ref) : null;
    if (!m) return null;
    return { sha1: m[1], ext: m[2], page: m[3] === undefined ? null : Number(m[3]) };
  }

  // Where the page loads an asset: a PDF's page rendered `widthPx` wide, or the file itself.
  // Null for what is not a reference.
  function assetAddress(ref, widthPx) {
    const asset = parseAsset(ref);
    if (!asset) return null;
    const access = NS.serverAccess(root.location);
    const key = access.key ? 'key=' + encodeURIComponent(access.key) : '';
    if (asset.ext === 'pdf' && asset.page !== null) {
      const w = Math.min(4096, Math.max(16, Math.round(Number(widthPx) || 1024)));
      return `${access.origin}/dravin-board/pdf/${asset.sha1}/${asset.page}?width=${w}` +
        (key ? '&' + key : '');
    }
    const file = `${access.origin}/dravin-board/asset/${asset.sha1}.${asset.ext}`;
    return key ? file + '?' + key : file;
  }

  // ---- Serializing -------------------------------------------------------------------------

  function serialize(doc) {
    // A deep copy: nothing the caller does to it reaches the document.
    return JSON.parse(JSON.stringify({
      format: kFormat,
      version: kVersion,
      width: doc.width,
      height: doc.height,
      current: doc.current,
      pages: doc.pages.map((page) => ({ id: page.id, background: page.background,
        image: page.image, items: page.items })),
    }));
  }

  // ---- Reading, every field checked --------------------------------------------------------

  const isNumber = (v) => typeof v === 'number' && Number.isFinite(v);
  const isPositive = (v) => isNumber(v) && v > 0;
  const isColour = (v) => typeof v === 'string' && kColour.test(v);

  function point(p) {
    if (!p || !isNumber(p.x) || !isNumber(p.y)) return null;
    const out = { x: p.x, y: p.y };
    if (p.p !== undefined) {
      if (!isNumber(p.p)) return null;
      out.p = p.p;
    }
    return out;
  }

  // The item with only the fields the board knows, or a reason it cannot be read.
  function readItem(item) {
    if (!item || typeof item !== 'object') return 'an item is not an object';
    const id = Number.isInteger(item.id) && item.id > 0 ? item.id : undefined;
    if (item.kind === 'stroke') {
      if (item.tool !== 'pen' && item.tool !== 'highlighter') return 'a stroke has no tool';
      if (!isColour(item.colour) || !isPositive(item.width)) return 'a stroke has no look';
      if (!Array.isArray(item.points) || item.points.length === 0) return 'a stroke has no points';
      const points = item.points.map(point);
      if (points.includes(null)) return 'a stroke has a bad point';
      return { id, kind: 'stroke', tool: item.tool, colour: item.colour, width: item.width,
        pressured: item.pressured === true, points: Object.freeze(points) };
    }
    if (item.kind === 'shape') {
      if (!kShapes.includes(item.shape)) return 'a shape of unknown kind';
      if (!isColour(item.colour) || !isPositive(item.width)) return 'a shape has no look';
      if (![item.x1, item.y1, item.x2, item.y2].every(isNumber)) return 'a shape has no corners';
      return { id, kind: 'shape', shape: item.shape, colour: item.colour, width: item.width,
        filled: item.filled === true, x1: item.x1, y1: item.y1, x2: item.x2, y2: item.y2 };
    }
    if (item.kind === 'text') {
      if (typeof item.text !== 'string' || !isColour(item.colour)) return 'a text without text';
      if (![item.x, item.y].every(isNumber) || ![item.fontSize, item.width, item.height]
        .every(isPositive)) {
        return 'a text has no place or size';
      }
      return { id, kind: 'text', text: item.text, x: item.x, y: item.y, fontSize: item.fontSize,
        colour: item.colour, width: item.width, height: item.height };
    }
    if (item.kind === 'picture') {
      if (typeof item.src !== 'string' || !kPictureSource.test(item.src)) {
        return 'a picture has no source';
      }
      if (![item.x, item.y].every(isNumber) || ![item.width, item.height].every(isPositive)) {
        return 'a picture has no place or size';
      }
      return { id, kind: 'picture', src: item.src, x: item.x, y: item.y, width: item.width,
        height: item.height };
    }
    return 'an item of unknown kind';
  }

  // {width, height, current, pages} ready for BoardDocument.replaceAll, or a reason why not.
  function parse(document) {
    if (!document || typeof document !== 'object' || Array.isArray(document)) {
      return 'not a board document';
    }
    if (document.format !== kFormat) return 'not a board document (unknown format)';
    if (!Number.isInteger(document.version) || document.version < 1) {
      return 'the document has no valid version';
    }
    if (document.version > kVersion) {
      return `the document was made by a newer version (version ${document.version})`;
    }
    if (!isPositive(document.width) || !isPositive(document.height)) {
      return 'the document has no page size';
    }
    if (!Array.isArray(document.pages) || document.pages.length === 0) {
      return 'the document has no pages';
    }
    const ids = new Set();
    const pages = [];
    for (const [n, page] of document.pages.entries()) {
      const where = ` (page ${n + 1})`;
      if (!page || typeof page !== 'object') return 'a page is not an object' + where;
      if (!NS.kBackgrounds.includes(page.background)) return 'a page has no background' + where;
      if (page.background === 'image' && !parseAsset(page.image) &&
          !(typeof page.image === 'string' && kPictureSource.test(page.image))) {
        return 'a picture page names no picture' + where;
      }
      if (!Array.isArray(page.items)) return 'a page has no items' + where;
      const items = [];
      for (const raw of page.items) {
        const item = readItem(raw);
        if (typeof item === 'string') return item + where;
        // An id seen twice would make two items one for the selection and the history.
        if (item.id !== undefined && ids.has(item.id)) item.id = undefined;
        if (item.id !== undefined) ids.add(item.id);
        if (item.id === undefined) delete item.id;
        items.push(item);
      }
      const id = Number.isInteger(page.id) && page.id > 0 && !ids.has(page.id) ? page.id : null;
      if (id !== null) ids.add(id);
      pages.push({ id, background: page.background,
        image: page.background === 'image' ? page.image : null, items });
    }
    const current = Number.isInteger(document.current) ? document.current : 0;
    return { width: document.width, height: document.height, pages,
      current: Math.min(Math.max(0, current), pages.length - 1) };
  }

  Object.assign(NS, { documentFormat: kFormat, documentVersion: kVersion, parseAsset,
    assetAddress, serializeDocument: serialize, parseDocument: parse, readItem });
})(typeof window !== 'undefined' ? window : globalThis);
