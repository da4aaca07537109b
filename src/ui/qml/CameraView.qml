import QtQuick
import QtMultimedia
import PeloraDravin

// The live picture: the preview turned and mirrored as the control bar asks, zoomed and panned
// inside its area by the capture controller, with the annotation layer over it.
Item {
    id: cameraView

    readonly property alias model: cameraModel
    // The capture controller, when the application has one (views under test have none).
    property var controller: typeof cameraController === "undefined" ? null : cameraController
    property bool allowAnnotation: false
    readonly property bool disconnected: cameraView.controller ? cameraView.controller.cameraDisconnected
                                                               : false
    // With the board over the picture, the board's page turns drags into pans and draws itself.
    readonly property bool boardOnTop: typeof boardBridge !== "undefined"

    clip: true

    CameraViewModel {
        id: cameraModel
        digitalZoomFactor: cameraView.controller ? cameraView.controller.currentZoom : 1.0
        onRotationChanged: degrees => {
            if (cameraView.controller) cameraView.controller.rotation = degrees
        }
        onMirrorChanged: mirrored => {
            if (cameraView.controller) cameraView.controller.mirrorHorizontal = mirrored
            cameraView.placementChanged()
        }
        onDragPreviewRequested: (ended, translation, rotation) => {
            if (cameraView.controller)
                cameraView.controller.dragPreview(ended, translation.x, translation.y, rotation)
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "#101316"
    }

    // The preview's area; upright, its sides swap so a turned picture still fits the view.
    Item {
        id: picture
        anchors.centerIn: parent
        width: cameraModel.isVertical ? cameraView.height : cameraView.width
        height: cameraModel.isVertical ? cameraView.width : cameraView.height
        rotation: cameraModel.rotation
        transform: Scale {
            origin.x: picture.width / 2
            xScale: cameraModel.mirrorHorizontal ? -1 : 1
        }

        Behavior on rotation { RotationAnimation { duration: 200; direction: RotationAnimation.Shortest } }
        onRotationChanged: cameraView.placementChanged()

        onWidthChanged: fitPreview()
        onHeightChanged: fitPreview()

        function fitPreview() {
            if (cameraView.controller && width > 0 && height > 0)
                cameraView.controller.updatePreviewFrame(Qt.size(width, height))
        }

        // Grows beyond the area when zoomed in; the view clips it.
        VideoOutput {
            id: preview
            visible: !cameraView.disconnected
            x: cameraView.controller ? cameraView.controller.previewFrame.x : 0
            y: cameraView.controller ? cameraView.controller.previewFrame.y : 0
            width: cameraView.controller ? cameraView.controller.previewFrame.width : picture.width
            height: cameraView.controller ? cameraView.controller.previewFrame.height : picture.height
            fillMode: VideoOutput.PreserveAspectFit
            onXChanged: cameraView.placementChanged()
            onYChanged: cameraView.placementChanged()
            onWidthChanged: cameraView.placementChanged()
            onHeightChanged: cameraView.placementChanged()
            onContentRectChanged: cameraView.placementChanged()
        }
    }

    // Where the picture lies in this view, for what is drawn over it to follow it: the matrix
    // (a, b, c, d, e, f) taking the picture's unit square to this view's pixels, with the turn,
    // the mirror, the zoom and the pan; empty before the first frame gives the picture a size.
    signal placementChanged()
    function placement() {
        const r = preview.contentRect
        if (r.width <= 0 || r.height <= 0) return []
        const origin = preview.mapToItem(cameraView, r.x, r.y)
        const across = preview.mapToItem(cameraView, r.x + r.width, r.y)
        const down = preview.mapToItem(cameraView, r.x, r.y + r.height)
        return [across.x - origin.x, across.y - origin.y, down.x - origin.x, down.y - origin.y,
                origin.x, origin.y]
    }

    // Unplugged: says so rather than holding the last picture; it comes back by itself.
    Column {
        visible: cameraView.disconnected
        anchors.centerIn: parent
        spacing: 8
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Camera disconnected"
            color: "#e8edf2"
            font.pixelSize: 30
            font.bold: true
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Plug it in again and the picture comes back."
            color: "#9aa7b4"
            font.pixelSize: 16
        }
    }

    DragHandler {
        target: null
        enabled: !cameraView.allowAnnotation && !cameraView.boardOnTop
        onTranslationChanged: if (active) cameraModel.dragPreview(false, translation.x, translation.y)
        onActiveChanged: if (!active) cameraModel.dragPreview(true, 0, 0)
    }

    AnnotationView {
        id: annotation
        enabled: cameraView.allowAnnotation && !cameraView.boardOnTop
    }

    SplashView {
        anchors.fill: parent
        opacity: cameraModel.showSplash ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 350 } }
    }

    // Snapshots draw the picture where it shows on screen.
    function reportGeometry() {
        if (!controller || !Window.window) return
        const centre = cameraView.mapToItem(null, width / 2, height / 2)
        controller.setWindowGeometry(Qt.size(Window.window.width, Window.window.height), centre)
    }
    onWidthChanged: { reportGeometry(); placementChanged() }
    onHeightChanged: { reportGeometry(); placementChanged() }
    onXChanged: reportGeometry()

    Component.onCompleted: {
        if (controller) {
            controller.videoSink = preview.videoSink
            picture.fitPreview()
        }
        reportGeometry()
        cameraModel.viewAppeared()
    }
}
