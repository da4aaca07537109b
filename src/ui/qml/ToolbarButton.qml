import QtQuick

// An icon over a caption, as every control of the bar and its popovers shows them. Hovering
// lightens it, pressing darkens it, `highlighted` marks an open popover or a mode that is on.
Item {
    id: button

    property string icon
    property string text
    property color captionColor: "#c9d3dd"
    property bool highlighted: false
    property bool badge: false
    property int iconSize: 28

    signal clicked()

    implicitWidth: Math.max(62, caption.implicitWidth + 16)
    implicitHeight: 64
    opacity: enabled ? 1 : 0.35

    Rectangle {
        anchors.fill: parent
        radius: 8
        color: mouse.pressed ? "#3a4654"
               : button.highlighted ? "#2d4a63"
               : mouse.containsMouse ? "#2b323c" : "transparent"
        border.color: button.highlighted ? "#4fb3e8" : "transparent"
        border.width: 1
    }

    Image {
        id: image
        anchors { horizontalCenter: parent.horizontalCenter; top: parent.top; topMargin: 9 }
        width: button.iconSize
        height: button.iconSize
        sourceSize: Qt.size(button.iconSize * 2, button.iconSize * 2)
        source: button.icon ? "qrc:/PeloraDravin/icons/" + button.icon + ".svg" : ""
        smooth: true

        Image {
            visible: button.badge
            anchors { right: parent.right; top: parent.top; rightMargin: -7; topMargin: -5 }
            width: 14
            height: 14
            sourceSize: Qt.size(28, 28)
            source: "qrc:/PeloraDravin/icons/new_version.svg"
        }
    }

    Text {
        id: caption
        anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 6 }
        text: button.text
        color: button.captionColor
        font.pixelSize: 12
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: button.enabled ? Qt.PointingHandCursor : Qt.ArrowCursor
        onClicked: button.clicked()
    }
}
