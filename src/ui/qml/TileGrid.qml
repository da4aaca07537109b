import QtQuick
import QtQuick.Controls

// Library tiles in three fixed columns of 125 points, or a line saying the list is empty.
GridView {
    id: grid

    property string emptyText
    property alias emptyFont: empty.font

    cellWidth: 125
    cellHeight: 100
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    // Drags start tiles moving out of the panel; the wheel and the bar scroll the list.
    interactive: false
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

    WheelHandler {
        onWheel: (event) => grid.flick(0, event.angleDelta.y * 8)
    }

    Text {
        id: empty
        anchors { left: parent.left; right: parent.right; top: parent.top; topMargin: 24 }
        visible: grid.count === 0
        text: grid.emptyText
        color: "#9aa6b2"
        font.pixelSize: 14
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
    }
}
