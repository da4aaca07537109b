// Injected into every frame of the board page at document end. It gives the page the message
// handler it posts to, carried over the web channel, and reports wheel, gestures and drags as
// the camera's pan and zoom.
(function () {
  if (window.__dravinBridgeInstalled) return;
  window.__dravinBridgeInstalled = true;

  var bridge = null;
  var waiting = [];
  function post(message) {
    if (bridge) bridge.postMessage(message);
    else waiting.push(message);
  }
  window.webkit = window.webkit || {};
  window.webkit.messageHandlers = window.webkit.messageHandlers || {};
  window.webkit.messageHandlers.swiftMessageHandler = { postMessage: post };

  if (typeof QWebChannel === "function" && window.qt && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects.bridge;
      waiting.forEach(function (message) { bridge.postMessage(message); });
      waiting = [];
    });
  }

  document.addEventListener("wheel", function (e) {
    post({ type: "wheel", delta: e.wheelDelta });
  });
  window.addEventListener("gesturestart", function (e) {
    post({ type: "gesturestart", scale: e.scale });
  });
  window.addEventListener("gesturechange", function (e) {
    post({ type: "gesturechange", scale: e.scale });
  });

  // Differences are measured from where the button went down.
  var last = null;
  function move(e) {
    var x = e.offsetX - last.x;
    var y = e.offsetY - last.y;
    if (x !== 0 || y !== 0) post({ type: "pan", x: x, y: y, end: 0 });
  }
  document.addEventListener("mousedown", function (e) {
    last = { x: e.offsetX, y: e.offsetY };
    document.addEventListener("mousemove", move);
  });
  document.addEventListener("mouseup", function (e) {
    document.removeEventListener("mousemove", move);
    if (!last) return;
    post({ type: "pan", x: e.offsetX - last.x, y: e.offsetY - last.y, end: 1 });
    last = null;
  });
})();
