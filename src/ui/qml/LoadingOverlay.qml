import QtQuick
import QtQuick.Controls

// Covers the board while its page loads, or says why it did not.
Rectangle {
    id: overlay

    property string message

    color: "#cc0d1014"

    // Swallows pointer input so the half-loaded board cannot be drawn on.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: (wheel) => wheel.accepted = true
    }

    BusyIndicator {
        anchors.centerIn: parent
        visible: overlay.message.length === 0
        running: visible
    }

    Text {
        anchors.centerIn: parent
        width: Math.min(parent.width - 64, 720)
        visible: overlay.message.length > 0
        text: overlay.message
        color: "#f2d4d4"
        font.pixelSize: 18
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
    }
}
