import QtQuick

// A frame that a panel's view fills; until then its title says what belongs here. Floating
// slots have a title bar to drag them by and, when resizable, a corner to resize them by.
Rectangle {
    id: slot

    property string title
    property bool floating: true
    property bool resizable: false

    // Translations since the drag began.
    signal titleDragged(real dx, real dy)
    signal titleDragEnded()
    signal cornerDragged(real dx, real dy)
    signal cornerDragEnded()

    default property alias content: body.data

    radius: floating ? 8 : 0
    color: floating ? "#e61c2026" : "#1c2026"
    border.color: "#5a6472"
    border.width: 1
    clip: true

    Rectangle {
        id: titleBar
        visible: slot.floating
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: visible ? 32 : 0
        radius: slot.radius
        color: "#2b323c"

        // Square off the bottom corners of the rounded bar.
        Rectangle {
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
            height: parent.radius
            color: parent.color
        }

        Text {
            anchors { left: parent.left; leftMargin: 12; verticalCenter: parent.verticalCenter }
            text: slot.title
            color: "#e8edf2"
            font.pixelSize: 14
            font.bold: true
        }

        DragHandler {
            target: null
            cursorShape: Qt.ClosedHandCursor
            onTranslationChanged: if (active) slot.titleDragged(translation.x, translation.y)
            onActiveChanged: if (!active) slot.titleDragEnded()
        }
    }

    Text {
        anchors.centerIn: body
        visible: body.children.length === 0
        text: slot.title
        color: "#7d8896"
        font.pixelSize: 16
    }

    Item {
        id: body
        anchors { left: parent.left; right: parent.right; top: titleBar.bottom; bottom: parent.bottom }
    }

    Item {
        visible: slot.resizable
        anchors { right: parent.right; bottom: parent.bottom }
        width: 20
        height: 20

        Text {
            anchors.centerIn: parent
            text: "\u25e2"
            color: "#7d8896"
            font.pixelSize: 14
        }

        DragHandler {
            target: null
            cursorShape: Qt.SizeFDiagCursor
            onTranslationChanged: if (active) slot.cornerDragged(translation.x, translation.y)
            onActiveChanged: if (!active) slot.cornerDragEnded()
        }
    }
}
