// The board's logic without the page: stroke geometry, the "/files/" address of a dropped
// file and the tile frame pacing. No DOM here, so the same file runs under node for the tests.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});

  // ---- Files dropped on the board ----------------------------------------------------------

  const kServerOrigin = 'http://localhost:9080';
  const kPictureExtensions = ['png', 'jpg', 'jpeg', 'gif', 'bmp', 'webp', 'svg'];

  // Pictures come from the application's server, whose "/files/" route asks for a key. The
  // application tells its pages the server's port and that key in the address's fragment,
  // which is never sent anywhere; a page served by the server itself uses its own origin.
  function serverAccess(location) {
    const fragment = new URLSearchParams(String((location && location.hash) || '').slice(1));
    const port = Number(fragment.get('port'));
    let origin = kServerOrigin;
    if (location && (location.protocol === 'http:' || location.protocol === 'https:')) {
      origin = location.origin;
    } else if (Number.isInteger(port) && port > 0 && port < 65536) {
      origin = 'http://localhost:' + port;
    }
    return { origin, key: fragment.get('key') || '' };
  }

  // What the page loads for a route; the board keeps the address without the key, which is
  // good for this run of the application only.
  function keyedAddress(access, route) {
    const address = access.origin + route;
    return access.key ? address + '?key=' + encodeURIComponent(access.key) : address;
  }

  // The local path named by a file URL, or null for anything else (another host's file cannot
  // be served by this machine).
  function filePathFromUrl(text) {
    let url;
    try {
      url = new URL(String(text).trim());
    } catch (e) {
      return null;
    }
    if (url.protocol !== 'file:') return null;
    if (url.hostname !== '' && url.hostname !== 'localhost') return null;
    try {
      const path = decodeURIComponent(url.pathname);
      return path.startsWith('/') && !path.includes('\0') ? path : null;
    } catch (e) {
      return null;
    }
  }

  // The server turns every "@@" back into "/", left to right; undo that exactly as it does.
  function serverDecodedPath(segment) {
    return segment.split('@@').join('/');
  }

  // "/files/" + the path with "/" written as "@@", one URL segment percent-encoded (the server
  // decodes the segment before it swaps the "@@"). Null when the server would read the path
  // back as another file: a name holding "@@" or ending in "@" next to a "/".
  function filesRoute(path) {
    if (typeof path !== 'string' || !path.startsWith('/')) return null;
    const segment = path.split('/').join('@@');
    if (serverDecodedPath(segment) !== path) return null;
    return '/files/' + encodeURIComponent(segment).replace(/%40/g, '@');
  }

  function isPicturePath(path) {
    const dot = path.lastIndexOf('.');
    if (dot < 0 || dot < path.lastIndexOf('/')) return false;
    return kPictureExtensions.includes(path.slice(dot + 1).toLowerCase());
  }

  // The entries of a text/uri-list: one URI a line, "#" lines are comments.
  function parseUriList(text) {
    return String(text || '')
      .split(/\r?\n/)
      .map((line) => line.trim())
      .filter((line) => line !== '' && !line.startsWith('#'));
  }

  // ---- Stroke geometry ---------------------------------------------------------------------

  // Width at one point: a pen's pressure thins or thickens the line around the chosen width;
  // a mouse or finger has no useful pressure and draws the width itself.
  function widthAt(baseWidth, pressure) {
    if (typeof pressure !== 'number' || !(pressure > 0)) return baseWidth;
    return baseWidth * (0.35 + 1.3 * Math.min(pressure, 1));
  }

  // Quadratic pieces through the midpoints of consecutive points, with each input point as the
  // control point: the curve passes smoothly near every sample without overshooting.
  // Returns {start, segments: [{cx, cy, x, y, p}]}; p is the pressure at the control point.
  function smoothPath(points) {
    if (!points || points.length === 0) return { start: null, segments: [] };
    const first = points[0];
    const start = { x: first.x, y: first.y, p: first.p };
    if (points.length === 1) return { start, segments: [] };
    if (points.length === 2) {
      const b = points[1];
      return { start, segments: [{ cx: first.x, cy: first.y, x: b.x, y: b.y, p: b.p }] };
    }
    const segments = [];
    for (let i = 1; i < points.length - 1; i++) {
      const c = points[i];
      const n = points[i + 1];
      segments.push({ cx: c.x, cy: c.y, x: (c.x + n.x) / 2, y: (c.y + n.y) / 2, p: c.p });
    }
    // The last piece is straight, from the last midpoint to the last sample.
    const last = points[points.length - 1];
    const from = segments[segments.length - 1];
    segments.push({ cx: from.x, cy: from.y, x: last.x, y: last.y, p: last.p });
    return { start, segments };
  }

  // Samples closer than this to the previous one add only noise to the curve.
  function shouldAddPoint(points, x, y, minDistance = 0.75) {
    if (points.length === 0) return true;
    const last = points[points.length - 1];
    return Math.hypot(x - last.x, y - last.y) >= minDistance;
  }

  // A picture's first size: its own, shrunk (never enlarged) to fit `fraction` of the view.
  function fitSize(naturalWidth, naturalHeight, viewWidth, viewHeight, fraction = 0.5) {
    if (!(naturalWidth > 0) || !(naturalHeight > 0)) return { width: 0, height: 0 };
    const scale = Math.min(
      1,
      (viewWidth * fraction) / naturalWidth,
      (viewHeight * fraction) / naturalHeight,
    );
    return { width: naturalWidth * scale, height: naturalHeight * scale };
  }

  // Resizing from a corner keeps the picture's proportions and a minimum size; the opposite
  // corner stays where it was.
  function resizeFromCorner(rect, corner, dx, dy, minSize = 24) {
    const aspect = rect.width / rect.height;
    const growX = corner.includes('e') ? dx : -dx;
    const growY = corner.includes('s') ? dy : -dy;
    let width = Math.abs(growX) * rect.height > Math.abs(growY) * rect.width
      ? rect.width + growX
      : (rect.height + growY) * aspect;
    width = Math.max(width, minSize * Math.max(1, aspect));
    const height = width / aspect;
    return {
      x: corner.includes('w') ? rect.x + rect.width - width : rect.x,
      y: corner.includes('n') ? rect.y + rect.height - height : rect.y,
      width,
      height,
    };
  }

  // Keeps a tile's title bar reachable inside the view after a move or a view resize.
  function clampTile(rect, viewWidth, viewHeight, grip = 48, barHeight = 32) {
    const x = Math.min(Math.max(rect.x, grip - rect.width), viewWidth - grip);
    const y = Math.min(Math.max(rect.y, 0), Math.max(0, viewHeight - barHeight));
    return { x, y, width: rect.width, height: rect.height };
  }

  // ---- Tile frame pacing -------------------------------------------------------------------

  // Asks for a tile's frames at a steady rate with one request in flight: the next request
  // goes `interval` after the previous one was sent, once it is answered, or after `timeout`
  // when the answer never comes (a window that closed, an application that is busy).
  class FrameRequester {
    constructor(options) {
      this.request = options.request;
      this.interval = options.interval !== undefined ? options.interval : 100;
      this.timeout = options.timeout !== undefined ? options.timeout : 1000;
      this.now = options.now || (() => Date.now());
      this.setTimer = options.setTimer || ((fn, ms) => setTimeout(fn, ms));
      this.clearTimer = options.clearTimer || ((id) => clearTimeout(id));
      this.timer = null;
      this.inFlight = false;
      this.sentAt = 0;
      this.running = false;
    }

    start() {
      if (this.running) return;
      this.running = true;
      this.send();
    }

    stop() {
      this.running = false;
      this.inFlight = false;
      if (this.timer !== null) this.clearTimer(this.timer);
      this.timer = null;
    }

    send() {
      this.timer = null;
      if (!this.running) return;
      this.inFlight = true;
      this.sentAt = this.now();
      this.timer = this.setTimer(() => this.send(), this.timeout);
      this.request();
    }

    // An answer arrived; a late or unasked one is not a reason for an extra request.
    answered() {
      if (!this.running || !this.inFlight) return;
      this.inFlight = false;
      if (this.timer !== null) this.clearTimer(this.timer);
      const wait = Math.max(0, this.sentAt + this.interval - this.now());
      this.timer = this.setTimer(() => this.send(), wait);
    }
  }

  Object.assign(NS, {
    serverAccess,
    keyedAddress,
    filePathFromUrl,
    filesRoute,
    isPicturePath,
    parseUriList,
    widthAt,
    smoothPath,
    shouldAddPoint,
    fitSize,
    resizeFromCorner,
    clampTile,
    FrameRequester,
  });
})(typeof window !== 'undefined' ? window : globalThis);
