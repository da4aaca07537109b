import QtQuick
import PeloraDravin

// The root view: the live picture, the side-by-side picture, and the slots of every panel.
// Which panels show is the model's state, changed by notifications only.
Item {
    id: root

    readonly property alias model: layoutModel
    readonly property alias cameraModel: cameraView.model
    readonly property alias controlBarModel: controlBar.model
    readonly property alias libraryModel: library.model

    ContentViewModel {
        id: layoutModel
        viewWidth: stage.width
        currentZoom: cameraView.controller ? cameraView.controller.currentZoom : 1.0
        onZoomRequested: factor => { if (cameraView.controller) cameraView.controller.setZoom(factor) }
    }

    // The picture area: everything above the control bar and left of the library.
    Item {
        id: stage
        anchors { left: parent.left; top: parent.top; right: library.left; bottom: controlBar.top }
        clip: true

        readonly property real pipWidth: 384
        readonly property real pipHeight: 248
        readonly property real splitWidth: layoutModel.splitWidth === undefined
                                           ? width / 2 : layoutModel.splitWidth
        // 0 hidden, 1 shown; eased in as the side-by-side picture arrives.
        property real sideBySideShown: layoutModel.showSideBySide ? 1 : 0
        Behavior on sideBySideShown { NumberAnimation { duration: 300; easing.type: Easing.InQuad } }

        CameraView {
            id: cameraView
            allowAnnotation: layoutModel.allowAnnotation
            anchors { left: parent.left; top: parent.top; bottom: parent.bottom }
            width: stage.width - (stage.width - stage.splitWidth) * stage.sideBySideShown

            PinchHandler {
                target: null
                onActiveScaleChanged: if (active) layoutModel.pinchChanged(activeScale)
                onActiveChanged: if (!active) layoutModel.pinchEnded()
            }
        }

        // The board lies over the live picture, the same size; it is loaded once, for good.
        Loader {
            id: boardLoader
            anchors.fill: cameraView
            active: typeof boardBridge !== "undefined"
            source: "BoardView.qml"
        }
        // What is drawn over the picture follows it: the board is told where the picture lies.
        function tellBoardPlacement() {
            const matrix = cameraView.placement()
            if (matrix.length === 6 && cameraView.controller)
                boardBridge.setPicturePlacement(matrix, cameraView.controller.currentZoom)
        }
        Connections {
            target: cameraView
            enabled: boardLoader.active
            function onPlacementChanged() { Qt.callLater(stage.tellBoardPlacement) }
        }

        SideBySideView {
            id: sideBySide
            anchors { left: cameraView.right; top: parent.top; bottom: parent.bottom }
            width: stage.width - stage.splitWidth
            visible: stage.sideBySideShown > 0
            layout: layoutModel
        }

        // The divider between the live picture and the side-by-side picture.
        Rectangle {
            visible: sideBySide.visible
            x: cameraView.width - width / 2
            width: 8
            anchors { top: parent.top; bottom: parent.bottom }
            color: splitDrag.active ? "#4fb3e8" : "#2b323c"

            DragHandler {
                id: splitDrag
                target: null
                cursorShape: Qt.SplitHCursor
                // The pictures on both sides pan on drags too; the divider keeps what it takes.
                grabPermissions: PointerHandler.CanTakeOverFromAnything
                property real startWidth: 0
                onActiveChanged: if (active) startWidth = stage.splitWidth
                // Scene positions: the divider moves under the pointer as it is dragged.
                onCentroidChanged: if (active) layoutModel.setSplitWidth(Math.max(160, Math.min(
                    stage.width - 160,
                    startWidth + centroid.scenePosition.x - centroid.scenePressPosition.x)))
            }
        }

        Loader {
            id: veltroConfig
            anchors { left: parent.left; top: parent.top; margins: 24 }
            width: 520
            height: 600
            active: layoutModel.showVeltroConfig
            sourceComponent: PanelSlot {
                title: "Wireless configuration"
                VeltroConfigView { anchors.fill: parent }
            }
        }

        Loader {
            id: pipCamera
            x: stage.width - width - 24 + layoutModel.pipOffset.width + layoutModel.pipOffsetNew.width
            y: 24 + layoutModel.pipOffset.height + layoutModel.pipOffsetNew.height
            width: stage.pipWidth
            height: stage.pipHeight
            active: layoutModel.showPipCamera
            sourceComponent: PanelSlot {
                id: pipSlot
                title: "Picture-in-picture camera"
                PipCameraView {
                    anchors.fill: parent
                    onDragged: (dx, dy) => pipSlot.titleDragged(dx, dy)
                    onDragEnded: pipSlot.titleDragEnded()
                }
            }
        }

        Connections {
            target: pipCamera.item
            function onTitleDragged(dx, dy) { layoutModel.pipDragged(dx, dy) }
            function onTitleDragEnded() { layoutModel.pipDragEnded() }
        }

        Loader {
            id: docCamera
            // Below the home place of the picture-in-picture camera, which may be dragged away.
            anchors { right: parent.right; top: parent.top; rightMargin: 24 }
            anchors.topMargin: 24 + stage.pipHeight + 24
            width: 480
            height: 300
            active: layoutModel.showDocCamera
            sourceComponent: PanelSlot {
                title: "Document camera"
                DocCamView { anchors.fill: parent }
            }
        }

        Loader {
            id: gifGenerator
            anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom }
            anchors.bottomMargin: 24
            width: Math.min(stage.width - 48, 960)
            height: 340
            active: layoutModel.showGifGenerator
            sourceComponent: PanelSlot {
                title: "GIF generator"
                GifGeneratorView { anchors.fill: parent }
            }
        }

        Loader {
            id: tunnelList
            anchors.centerIn: parent
            width: 720
            height: 460
            active: layoutModel.showTunnelList
            sourceComponent: PanelSlot {
                title: "Window tunnel"
                TunnelListView { anchors.fill: parent }
            }
        }

        // Built anew on every opening, so each request starts from its own first page.
        Loader {
            id: browser
            x: (stage.width - layoutModel.browserDefaultFrame.width) / 2
               + layoutModel.browserAccumulated.width + layoutModel.browserDragged.width
            y: (stage.height - layoutModel.browserDefaultFrame.height) / 2
               + layoutModel.browserAccumulated.height + layoutModel.browserDragged.height
            width: layoutModel.browserFrame.width
            height: layoutModel.browserFrame.height
            active: layoutModel.showBrowser
            sourceComponent: PanelSlot {
                title: browserView.model.headerText.length > 0 ? browserView.model.headerText
                                                               : "Browser"
                resizable: true
                // The whole panel, frame included, lets the picture show through; the view paints
                // its own backgrounds, so a page without one can show the picture behind it.
                opacity: browserView.model.opacityValue
                color: "transparent"
                BrowserView {
                    id: browserView
                    anchors.fill: parent
                    request: layoutModel.browserRequest
                    offline: typeof app !== "undefined" && app.settings ? app.settings.offlineMode
                                                                        : false
                    onClosed: layoutModel.closeBrowser()
                }
            }
        }

        Connections {
            target: browser.item
            function onTitleDragged(dx, dy) { layoutModel.browserDraggedBy(dx, dy) }
            function onTitleDragEnded() { layoutModel.browserDragEnded() }
            function onCornerDragged(dw, dh) { layoutModel.browserResized(dw, dh) }
            function onCornerDragEnded() { layoutModel.browserResizeEnded() }
        }

        // Over the panels too: until the board has loaded, only the bars stay usable.
        LoadingOverlay {
            anchors.fill: parent
            visible: layoutModel.loadingDravinBoard
            message: layoutModel.loadingDravinBoardError
        }
    }

    FileLibraryView {
        id: library
        anchors { top: parent.top; bottom: controlBar.top }
        width: 420
        x: root.width - shownWidth
        Behavior on x { NumberAnimation { duration: 500; easing.type: Easing.InQuad } }
    }

    ControlBar {
        id: controlBar
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: implicitHeight
        camera: typeof cameraController === "undefined" ? null : cameraController
        // The application object is withdrawn while the window closes.
        settings: typeof app !== "undefined" && app ? app.settings : null
        updates: typeof app !== "undefined" && app ? app.updates : null
        onFilesToggled: library.model.hideFileLibrary = !library.model.hideFileLibrary
    }

    BoardDocumentViews {
        id: boardDocumentViews
        anchors.fill: parent
        bottomMargin: controlBar.height
    }

    // An imported picture is pasted into the board, which takes the keyboard for it.
    Connections {
        target: library.model
        function onAboutToPaste() { if (boardLoader.item) boardLoader.item.forceActiveFocus() }
        function onNoticeRequested(text) { boardDocumentViews.showNotice(text) }
        function onPlaceOnBoardRequested(path) {
            if (typeof boardSession !== "undefined") boardSession.openOnBoard(path)
        }
    }

    Connections {
        target: controlBar.model
        // The board lies over the picture: its page draws, the picture's own layer follows.
        function onAnnotationChanged(enabled) {
            layoutModel.allowAnnotation = enabled
            if (typeof boardBridge !== "undefined") boardBridge.allowAnnotation(enabled)
            // The board's tools answer keys: it takes the keyboard while it takes the pointer.
            if (enabled && boardLoader.item) boardLoader.item.forceActiveFocus()
        }
        function onHidCommandRequested(code, value) {
            if (typeof hidDevice !== "undefined") hidDevice.sendCommand(code, value)
        }
    }
}
