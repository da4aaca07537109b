import QtQuick
import QtQuick.Controls
import PeloraDravin

// A snapshot beside the live picture, zoomed by pinch or Ctrl+wheel and panned by dragging.
Rectangle {
    id: sideBySide

    required property ContentViewModel layout

    color: "#0b0d10"
    clip: true

    Image {
        id: picture
        anchors.centerIn: parent
        width: parent.width
        height: parent.height
        anchors.horizontalCenterOffset: sideBySide.layout.viewState.width
        anchors.verticalCenterOffset: sideBySide.layout.viewState.height
        // Released while hidden; the model keeps the URL.
        source: sideBySide.visible ? sideBySide.layout.sideBySideImage : ""
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        // The same file name may hold a new snapshot.
        cache: false
        scale: sideBySide.layout.scale
    }

    PinchHandler {
        target: null
        onActiveScaleChanged: if (active) sideBySide.layout.pictureScaleChanged(activeScale)
        onActiveChanged: if (!active) sideBySide.layout.pictureScaleEnded()
    }

    DragHandler {
        target: null
        onTranslationChanged: if (active) sideBySide.layout.picturePanned(translation.x, translation.y)
        onActiveChanged: if (!active) sideBySide.layout.picturePanEnded()
    }

    WheelHandler {
        acceptedModifiers: Qt.ControlModifier
        onWheel: (event) => {
            sideBySide.layout.pictureScaleChanged(Math.pow(1.002, event.angleDelta.y))
            sideBySide.layout.pictureScaleEnded()
        }
    }

    RoundButton {
        anchors { top: parent.top; left: parent.left; margins: 12 }
        text: "\u2715"
        onClicked: sideBySide.layout.closeSideBySide()
    }
}
