import QtQuick

// A frame that a panel's view fills; until then its title says what belongs here. Floating
// slots have a title bar to drag them by and, when resizable, a corner to resize them by.
Rectangle {
    id: slot

    property string title
    property bool floating: true
    property bool resizable: false

    // Translations since the drag began, in scene coordinates because the slot moves or grows
    // under the pointer.
    signal titleDragged(real dx, real dy)
    signal titleDragEnded()
    signal cornerDragged(real dx, real dy)
    signal cornerDragEnded()

    default property alias content: body.data

    radius: floating ? 8 : 0
    color: "#1c2026"
    border.color: floating ? "#6b7785" : "#3a434d"
    border.width: 1
    clip: true

    // Pointer input on a panel stays with the panel, off the picture underneath.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: (wheel) => wheel.accepted = true
    }

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
            grabPermissions: PointerHandler.CanTakeOverFromAnything
            onCentroidChanged: if (active) slot.titleDragged(
                centroid.scenePosition.x - centroid.scenePressPosition.x,
                centroid.scenePosition.y - centroid.scenePressPosition.y)
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
            grabPermissions: PointerHandler.CanTakeOverFromAnything
            onCentroidChanged: if (active) slot.cornerDragged(
                centroid.scenePosition.x - centroid.scenePressPosition.x,
                centroid.scenePosition.y - centroid.scenePressPosition.y)
            onActiveChanged: if (!active) slot.cornerDragEnded()
        }
    }
}
