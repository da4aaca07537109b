import QtQuick

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

    // A ring of fading dots, light on the dark overlay whatever the controls style.
    Item {
        id: spinner
        anchors.centerIn: parent
        width: 64
        height: 64
        visible: overlay.message.length === 0

        Repeater {
            model: 8
            Rectangle {
                required property int index
                width: 10
                height: 10
                radius: 5
                color: "#e8edf2"
                opacity: 1 - index / 8
                x: 27 + 26 * Math.cos(-index * Math.PI / 4)
                y: 27 + 26 * Math.sin(-index * Math.PI / 4)
            }
        }

        RotationAnimator on rotation {
            from: 0
            to: 360
            duration: 1200
            loops: Animation.Infinite
            running: spinner.visible
        }
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
