import QtQuick
import QtQuick.Controls
import QtWebEngine
import PeloraDravin

// The browser panel's content: a header row, the page (a PDF in the viewer, the lessons or the
// web), a transparent board layer over it to draw on, the settings popover and the bookmarks.
Item {
    id: view

    // The "OpenBrowser" request the panel was opened for, and the lessons' offline setting.
    property var request: ({})
    property bool offline: false
    readonly property alias model: browserModel
    // The page view itself, for snapshots.
    readonly property alias pageView: page

    signal closed()

    BrowserViewModel {
        id: browserModel
        request: view.request
        offline: view.offline
        onLoadRequested: url => page.url = url
        onScriptRequested: script => page.runJavaScript(script)
        onReloadRequested: page.reload()
        onBoardScriptRequested: script => boardLayer.runJavaScript(script)
        onSaveFailed: (text, folderMissing) => app.reportSaveFailure(text, folderMissing)
    }

    component HeaderButton: Rectangle {
        id: headerButton
        property string icon
        property bool on: false
        signal clicked()
        width: 32
        height: 32
        radius: 6
        opacity: enabled ? 1 : 0.35
        color: buttonMouse.pressed ? "#3a4654" : on ? "#2d4a63"
               : buttonMouse.containsMouse ? "#2b323c" : "transparent"
        Image {
            anchors.centerIn: parent
            width: 22
            height: 22
            sourceSize: Qt.size(44, 44)
            source: "qrc:/PeloraDravin/icons/" + headerButton.icon + ".svg"
        }
        MouseArea {
            id: buttonMouse
            anchors.fill: parent
            hoverEnabled: true
            onClicked: headerButton.clicked()
        }
    }

    Rectangle {
        id: header
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 42
        color: "#232930"

        Row {
            id: leftButtons
            anchors { left: parent.left; leftMargin: 6; verticalCenter: parent.verticalCenter }
            spacing: 2
            HeaderButton {
                objectName: "backButton"
                icon: "toolbar_back"
                enabled: browserModel.canGoBack
                onClicked: page.goBack()
            }
            HeaderButton {
                icon: "toolbar_forward"
                enabled: browserModel.canGoForward
                onClicked: page.goForward()
            }
            HeaderButton { icon: "toolbar_home"; onClicked: browserModel.goHome() }
        }

        TextField {
            id: addressField
            objectName: "addressField"
            anchors { left: leftButtons.right; right: rightButtons.left; margins: 8 }
            anchors.verticalCenter: parent.verticalCenter
            height: 30
            font.pixelSize: 13
            color: "#e8edf2"
            placeholderText: "Search or type an address"
            placeholderTextColor: "#7d8896"
            selectByMouse: true
            text: browserModel.preAddress
            onTextEdited: browserModel.preAddress = text
            onAccepted: if (browserModel.loadAddress(text)) page.forceActiveFocus()
            background: Rectangle {
                radius: 6
                color: "#15191e"
                border.color: addressField.activeFocus ? "#4fb3e8" : "#3a434d"
            }
        }

        Row {
            id: rightButtons
            anchors { right: parent.right; rightMargin: 6; verticalCenter: parent.verticalCenter }
            spacing: 2
            HeaderButton { icon: "toolbar_zoom_out"; onClicked: browserModel.zoomOut() }
            HeaderButton { icon: "toolbar_zoom_in"; onClicked: browserModel.zoomIn() }
            HeaderButton {
                objectName: "annotationButton"
                icon: browserModel.enableAnnotation ? "toolbar_freehand_on" : "toolbar_freehand"
                on: browserModel.enableAnnotation
                onClicked: browserModel.enableAnnotation = !browserModel.enableAnnotation
            }
            HeaderButton {
                objectName: "bookmarkButton"
                icon: "toolbar_bookmark"
                on: browserModel.showBookmark
                onClicked: browserModel.showBookmark = !browserModel.showBookmark
            }
            HeaderButton {
                id: settingsButton
                objectName: "settingsButton"
                icon: "toolbar_settings"
                on: browserModel.showPopoverSettings
                onClicked: browserModel.showPopoverSettings = !browserModel.showPopoverSettings

                BrowserSettingsPopover {
                    model: browserModel
                    x: settingsButton.width - width
                    y: settingsButton.height + 6
                }
            }
            HeaderButton { icon: "close"; onClicked: view.closed() }
        }
    }

    Rectangle {
        id: hint
        anchors { left: parent.left; right: parent.right; top: header.bottom }
        height: browserModel.headerHint.length > 0 ? 24 : 0
        visible: height > 0
        color: "#1c2026"
        Text {
            anchors { left: parent.left; leftMargin: 12; verticalCenter: parent.verticalCenter }
            text: browserModel.headerHint
            color: "#9aa6b2"
            font.pixelSize: 12
        }
    }

    Item {
        id: pageArea
        anchors { left: parent.left; right: parent.right; top: hint.bottom; bottom: parent.bottom }
        clip: true

        // Behind the page: white as browsers show pages, unless the page's background was
        // removed (or inverted away) so the picture underneath shows through.
        Rectangle {
            anchors.fill: parent
            color: browserModel.enableRemoveBackground || browserModel.inverted ? "transparent"
                                                                                : "white"
        }

        WebEngineView {
            id: page
            objectName: "pageView"
            anchors.fill: parent
            backgroundColor: "transparent"
            zoomFactor: browserModel.zoom
            settings.localContentCanAccessFileUrls: true
            settings.localContentCanAccessRemoteUrls: true
            settings.javascriptEnabled: true

            onNavigationRequested: request => {
                if (browserModel.acceptNavigation(request.url, request.isMainFrame)) return
                request.action = WebEngineNavigationRequest.IgnoreRequest
            }
            // Links meant for a new window open here: the panel has one page.
            onNewWindowRequested: request => page.url = request.requestedUrl

            onLoadingChanged: loadRequest => {
                if (loadRequest.status === WebEngineView.LoadSucceededStatus) {
                    // A new site starts at the engine's own zoom; the panel's zoom holds.
                    page.zoomFactor = browserModel.zoom
                    browserModel.navigationFinished(page.url, page.canGoBack, page.canGoForward)
                } else if (loadRequest.status === WebEngineView.LoadFailedStatus) {
                    browserModel.navigationFailed(loadRequest.errorString)
                }
            }

            onJavaScriptDialogRequested: request => {
                if (request.type === JavaScriptDialogRequest.DialogTypeBeforeUnload) return
                request.accepted = true
                pageDialog.show(request)
            }
        }

        // The board over the page: drawn strokes stay visible, but it takes the pointer only
        // while annotation is on, so the page can be used the rest of the time.
        WebEngineView {
            id: boardLayer
            objectName: "boardLayer"
            anchors.fill: parent
            backgroundColor: "transparent"
            enabled: browserModel.enableAnnotation
            settings.localContentCanAccessFileUrls: true
            settings.localContentCanAccessRemoteUrls: true
            settings.showScrollBars: false
            url: browserModel.overlayBoardUrl

            onNavigationRequested: request => {
                if (browserModel.acceptBoardLayerNavigation(request.url)) return
                request.action = WebEngineNavigationRequest.IgnoreRequest
            }
            onLoadingChanged: loadRequest => {
                if (loadRequest.status === WebEngineView.LoadSucceededStatus)
                    browserModel.boardLayerLoaded()
            }
        }

        BrowserBookmarkView {
            anchors { right: parent.right; top: parent.top; bottom: parent.bottom }
            width: Math.min(parent.width, 420)
            visible: browserModel.showBookmark
            model: browserModel
            onAddRequested: browserModel.addBookmark(page, page.title)
        }

        // The page's alert, confirmation and prompt.
        Popup {
            id: pageDialog
            property var request: null
            anchors.centerIn: parent
            width: Math.min(parent.width - 40, 420)
            modal: true
            padding: 16
            closePolicy: Popup.CloseOnEscape
            palette { window: "#1c2026"; windowText: "#e8edf2"; text: "#e8edf2"; base: "#15191e"
                      button: "#2b323c"; buttonText: "#e8edf2"; highlight: "#4fb3e8"
                      placeholderText: "#7d8896" }

            function show(request) {
                pageDialog.request = request
                promptField.text = request.defaultText
                open()
                if (request.type === JavaScriptDialogRequest.DialogTypePrompt)
                    promptField.forceActiveFocus()
            }
            function answer(accept) {
                const request = pageDialog.request
                pageDialog.request = null
                close()
                if (!request) return
                if (accept) request.dialogAccept(promptField.text)
                else request.dialogReject()
            }
            onClosed: if (request) answer(false)

            readonly property int type: request ? request.type : -1

            Column {
                width: parent.width
                spacing: 12
                Label {
                    width: parent.width
                    text: pageDialog.request ? pageDialog.request.message : ""
                    wrapMode: Text.Wrap
                    font.pixelSize: 14
                }
                TextField {
                    id: promptField
                    width: parent.width
                    visible: pageDialog.type === JavaScriptDialogRequest.DialogTypePrompt
                    placeholderText: "Enter here"
                    onAccepted: pageDialog.answer(true)
                }
                Row {
                    anchors.right: parent.right
                    spacing: 8
                    Button {
                        text: "Cancel"
                        visible: pageDialog.type === JavaScriptDialogRequest.DialogTypeConfirm
                        onClicked: pageDialog.answer(false)
                    }
                    Button {
                        text: pageDialog.type === JavaScriptDialogRequest.DialogTypePrompt
                              ? "Submit" : "OK"
                        onClicked: pageDialog.answer(true)
                    }
                }
            }
        }
    }

    Component.onCompleted: {
        const style = browserModel.pageStyleScript
        if (style.length > 0) {
            const script = WebEngine.script()
            script.name = "pageStyle"
            script.sourceCode = style
            script.injectionPoint = WebEngineScript.DocumentReady
            script.worldId = WebEngineScript.MainWorld
            script.runsOnSubFrames = true
            page.userScripts.insert(script)
        }
        page.url = browserModel.initialUrl
    }
}
