// Messages to the application. Its script defines the handler after the page's own scripts
// ran, so it is looked up at each call; a page opened on its own posts nowhere.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});
  // Laid over the browser panel's page ("?overlay=1") the board only draws: no camera to steer.
  NS.overlay = /[?&]overlay=1(&|$)/.test((root.location && root.location.search) || '');

  function messageHandler() {
    if (NS.overlay) return null;
    const webkit = root.webkit;
    const handlers = webkit && webkit.messageHandlers;
    const handler = handlers && handlers.swiftMessageHandler;
    return handler && typeof handler.postMessage === 'function' ? handler : null;
  }

  // A pointer that is already gone (a lifted finger, a synthetic event) cannot be captured;
  // the gesture still works without capture.
  NS.capture = function capture(element, pointerId) {
    try {
      element.setPointerCapture(pointerId);
    } catch (e) {
      // Nothing to do: moves outside the element are simply not seen.
    }
  };

  // Whether the application listens (a board saved, files it takes); asked at each use.
  NS.hasApplication = function hasApplication() {
    return messageHandler() !== null;
  };

  NS.post = function post(message) {
    const handler = messageHandler();
    if (!handler) return false;
    try {
      handler.postMessage(message);
      return true;
    } catch (e) {
      return false;
    }
  };
})(typeof window !== 'undefined' ? window : globalThis);
