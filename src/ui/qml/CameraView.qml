import QtQuick
import PeloraDravin

// The live picture: rotated and mirrored as the control bar asks, clipped to its area.
Item {
    id: cameraView

    readonly property alias model: cameraModel

    clip: true

    CameraViewModel {
        id: cameraModel
    }

    Rectangle {
        anchors.fill: parent
        color: "#101316"
    }

    // Where the preview goes; turned upright sizes swap so a vertical picture still fits.
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

        Text {
            anchors.centerIn: parent
            text: "Camera picture"
            color: "#3a434d"
            font.pixelSize: 28
        }
    }

    DragHandler {
        target: null
        onTranslationChanged: if (active) cameraModel.dragPreview(false, translation.x, translation.y)
        onActiveChanged: if (!active) cameraModel.dragPreview(true, 0, 0)
    }

    SplashView {
        anchors.fill: parent
        opacity: cameraModel.showSplash ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 350 } }
    }

    Component.onCompleted: cameraModel.viewAppeared()
}
