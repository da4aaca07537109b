import QtQuick
import PeloraDravin

// The root view: the live picture, the side-by-side picture, and the slots of every panel.
// Which panels show is the model's state, changed by notifications only.
Item {
    id: root

    readonly property alias model: layoutModel
    readonly property alias cameraModel: cameraView.model

    ContentViewModel {
        id: layoutModel
        viewWidth: stage.width
    }

    // The picture area: everything above the control bar and left of the library.
    Item {
        id: stage
        anchors { left: parent.left; top: parent.top; right: library.left; bottom: controlBar.top }
        clip: true

        readonly property real splitWidth: layoutModel.splitWidth === undefined
                                           ? width / 2 : layoutModel.splitWidth
        // 0 hidden, 1 shown; eased in as the side-by-side picture arrives.
        property real sideBySideShown: layoutModel.showSideBySide ? 1 : 0
        Behavior on sideBySideShown { NumberAnimation { duration: 300; easing.type: Easing.InQuad } }

        CameraView {
            id: cameraView
            anchors { left: parent.left; top: parent.top; bottom: parent.bottom }
            width: stage.width - (stage.width - stage.splitWidth) * stage.sideBySideShown

            PinchHandler {
                target: null
                onActiveScaleChanged: if (active) layoutModel.pinchChanged(activeScale)
                onActiveChanged: if (!active) layoutModel.pinchEnded()
            }
        }

        Loader {
            id: sideBySide
            anchors { left: cameraView.right; top: parent.top; bottom: parent.bottom }
            width: stage.width - stage.splitWidth
            active: stage.sideBySideShown > 0
            sourceComponent: SideBySideView { layout: layoutModel }
        }

        // The divider between the live picture and the side-by-side picture.
        Rectangle {
            visible: sideBySide.active
            x: cameraView.width - width / 2
            width: 8
            anchors { top: parent.top; bottom: parent.bottom }
            color: splitDrag.active ? "#4fb3e8" : "#2b323c"

            DragHandler {
                id: splitDrag
                target: null
                cursorShape: Qt.SplitHCursor
                property real startWidth: 0
                onActiveChanged: if (active) startWidth = stage.splitWidth
                onTranslationChanged: if (active) layoutModel.setSplitWidth(
                    Math.max(160, Math.min(stage.width - 160, startWidth + translation.x)))
            }
        }

        LoadingOverlay {
            anchors.fill: parent
            visible: layoutModel.loadingDravinBoard
            message: layoutModel.loadingDravinBoardError
        }

        Loader {
            id: veltroConfig
            anchors { left: parent.left; top: parent.top; margins: 24 }
            active: layoutModel.showVeltroConfig
            sourceComponent: PanelSlot { title: "Wireless configuration"; width: 520; height: 600 }
        }

        Loader {
            id: docCamera
            anchors { left: parent.left; bottom: parent.bottom; margins: 24 }
            active: layoutModel.showDocCamera
            sourceComponent: PanelSlot { title: "Document camera"; width: 480; height: 300 }
        }

        Loader {
            id: pipCamera
            x: stage.width - width - 24 + layoutModel.pipOffset.width + layoutModel.pipOffsetNew.width
            y: 24 + layoutModel.pipOffset.height + layoutModel.pipOffsetNew.height
            active: layoutModel.showPipCamera
            sourceComponent: PanelSlot {
                title: "Picture-in-picture camera"
                width: 384
                height: 248
                onTitleDragged: (dx, dy) => layoutModel.pipDragged(dx, dy)
                onTitleDragEnded: layoutModel.pipDragEnded()
            }
        }

        Loader {
            id: tunnelList
            anchors.centerIn: parent
            active: layoutModel.showTunnelList
            sourceComponent: PanelSlot { title: "Window tunnel"; width: 720; height: 460 }
        }

        Loader {
            id: gifGenerator
            anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 24 }
            active: layoutModel.showGifGenerator
            sourceComponent: PanelSlot {
                title: "GIF generator"
                width: Math.min(stage.width - 48, 960)
                height: 320
            }
        }

        // Built anew on every opening, so each request starts from its own first page.
        Loader {
            id: browser
            x: (stage.width - layoutModel.browserDefaultFrame.width) / 2
               + layoutModel.browserAccumulated.width + layoutModel.browserDragged.width
            y: (stage.height - layoutModel.browserDefaultFrame.height) / 2
               + layoutModel.browserAccumulated.height + layoutModel.browserDragged.height
            active: layoutModel.showBrowser
            sourceComponent: PanelSlot {
                title: "Browser"
                width: layoutModel.browserFrame.width
                height: layoutModel.browserFrame.height
                onTitleDragged: (dx, dy) => layoutModel.browserDraggedBy(dx, dy)
                onTitleDragEnded: layoutModel.browserDragEnded()
                resizable: true
                onCornerDragged: (dw, dh) => layoutModel.browserResized(dw, dh)
                onCornerDragEnded: layoutModel.browserResizeEnded()
            }
        }
    }

    PanelSlot {
        id: library
        title: "Library"
        anchors { top: parent.top; right: parent.right; bottom: controlBar.top }
        width: 300
        floating: false
    }

    PanelSlot {
        id: controlBar
        title: "Control bar"
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 76
        floating: false
    }
}
