import QtQuick
import QtMultimedia
import PeloraDravin

// The picture-in-picture camera. Its camera opens with the view and closes with it; a drag
// anywhere on the picture moves the overlay, as its title bar does.
Item {
    id: view

    readonly property alias model: cameraModel

    // Translation since the drag began, in scene coordinates: the overlay moves under the pointer.
    signal dragged(real dx, real dy)
    signal dragEnded()

    SecondCameraModel {
        id: cameraModel
        kind: SecondCameraModel.PictureInPicture
        mainController: typeof cameraController === "undefined" ? null : cameraController
        videoSink: output.videoSink
    }

    Rectangle {
        anchors.fill: parent
        color: "#101316"
    }

    VideoOutput {
        id: output
        anchors.fill: parent
        fillMode: VideoOutput.PreserveAspectFit
    }

    Text {
        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter }
        anchors.margins: 16
        visible: !cameraModel.hasCamera
        text: cameraModel.hint
        color: "#b7c0cb"
        font.pixelSize: 14
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }

    DragHandler {
        target: null
        cursorShape: active ? Qt.ClosedHandCursor : Qt.OpenHandCursor
        grabPermissions: PointerHandler.CanTakeOverFromAnything
        onCentroidChanged: if (active) view.dragged(
            centroid.scenePosition.x - centroid.scenePressPosition.x,
            centroid.scenePosition.y - centroid.scenePressPosition.y)
        onActiveChanged: if (!active) view.dragEnded()
    }
}
