import QtQuick

// Shown over the live picture while the camera starts.
Rectangle {
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#16324f" }
        GradientStop { position: 1.0; color: "#0a1420" }
    }

    Column {
        anchors.centerIn: parent
        spacing: 18

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 96
            height: 96
            radius: 48
            color: "transparent"
            border.color: "#4fb3e8"
            border.width: 6

            Rectangle {
                anchors.centerIn: parent
                width: 36
                height: 36
                radius: 18
                color: "#4fb3e8"
            }
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Pelora Dravin"
            color: "#f4f8fb"
            font.pixelSize: 44
            font.weight: Font.DemiBold
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Initializing ..."
            color: "#a9c3d6"
            font.pixelSize: 18
        }
    }
}
