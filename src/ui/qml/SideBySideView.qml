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

    ShareModel { id: share }

    // Handing the picture on: its folder, the clipboard, an e-mail.
    RoundButton {
        id: shareButton
        objectName: "shareButton"
        anchors { top: parent.top; right: parent.right; margins: 12 }
        icon.source: "qrc:/PeloraDravin/icons/toolbar_share.svg"
        icon.color: "#1c2026"
        onClicked: shareMenu.open()

        Menu {
            id: shareMenu
            x: shareButton.width - width
            y: shareButton.height + 4
            MenuItem {
                text: "Show in folder"
                onTriggered: if (!share.showInFolder(sideBySide.layout.shareUrl))
                                  shareToast.show(share.message)
            }
            MenuItem {
                text: "Copy"
                onTriggered: if (!share.copy(sideBySide.layout.shareUrl))
                                  shareToast.show(share.message)
            }
            MenuItem {
                text: "Send by e-mail"
                onTriggered: if (!share.sendByEmail(sideBySide.layout.shareUrl))
                                  shareToast.show(share.message)
            }
        }
    }

    Rectangle {
        id: shareToast
        anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 24 }
        width: Math.min(parent.width - 48, toastText.implicitWidth + 32)
        height: toastText.implicitHeight + 20
        radius: 8
        color: "#2b323c"
        border.color: "#6b7785"
        visible: false

        function show(text) {
            toastText.text = text
            visible = true
            toastTimer.restart()
        }

        Text {
            id: toastText
            anchors.centerIn: parent
            width: parent.width - 32
            color: "#e8edf2"
            font.pixelSize: 14
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
        }
        Timer { id: toastTimer; interval: 5000; onTriggered: shareToast.visible = false }
    }
}
