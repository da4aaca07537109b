import QtQuick
import QtWebEngine
import QtWebChannel

// The board page over the live picture: transparent where nothing is drawn, talking to the
// application through `boardBridge` (its messages in, script calls out).
WebEngineView {
    id: board

    backgroundColor: "transparent"
    settings.localContentCanAccessFileUrls: true
    settings.localContentCanAccessRemoteUrls: true
    settings.showScrollBars: false
    webChannel: channel

    WebChannel { id: channel }

    Connections {
        target: boardBridge
        function onScriptRequested(script) { board.runJavaScript(script) }
    }

    onNavigationRequested: request => {
        if (boardBridge.acceptNavigation(request.url)) return
        if (typeof request.reject === "function") request.reject()
        else request.action = WebEngineNavigationRequest.IgnoreRequest
    }

    onLoadingChanged: loadRequest => {
        if (loadRequest.status === WebEngineView.LoadStartedStatus) boardBridge.loadStarted(loadRequest.url)
        else if (loadRequest.status === WebEngineView.LoadSucceededStatus) boardBridge.loadFinished()
        else if (loadRequest.status === WebEngineView.LoadFailedStatus) boardBridge.loadFailed(loadRequest.errorString)
    }

    // A page whose process ended is blank and hears nothing: it is loaded again, and the
    // application gives it back its board as last saved.
    onRenderProcessTerminated: (terminationStatus, exitCode) => reloadTimer.start()
    Timer {
        id: reloadTimer
        interval: 1000
        onTriggered: board.reload()
    }

    function reportOrigin() {
        const origin = board.mapToGlobal(0, 0)
        boardBridge.setBoardOrigin(Qt.point(Math.round(origin.x), Math.round(origin.y)))
    }
    onXChanged: reportOrigin()
    onYChanged: reportOrigin()
    onWidthChanged: reportOrigin()

    Component.onCompleted: {
        channel.registerObject("bridge", boardBridge)
        boardBridge.setBoardItem(board)
        const script = WebEngine.script()
        script.name = "dravinBridge"
        script.sourceCode = boardBridge.injectedScript()
        script.injectionPoint = WebEngineScript.DocumentReady
        script.worldId = WebEngineScript.MainWorld
        script.runsOnSubFrames = true
        userScripts.insert(script)
        url = boardBridge.boardUrl()
        reportOrigin()
    }
}
