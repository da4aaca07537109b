import QtQuick
import QtMultimedia
import PeloraDravin

// The document camera. Its camera opens with the view, which also puts its live tile on the
// board, and closes with it; the board keeps the last frame.
Item {
    id: view

    readonly property alias model: cameraModel

    SecondCameraModel {
        id: cameraModel
        kind: SecondCameraModel.DocumentCamera
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
}
