import QtQuick
import QtQuick.Controls
import PeloraDravin

// The window picker: thumbnails of the other applications' windows, three to a row. The list
// starts empty; "Refresh" gathers it. On Wayland the desktop's own dialog picks the window, asked
// as soon as the picker opens; the picker then only says how it goes.
Item {
    id: view

    readonly property alias model: tunnelModel
    readonly property color accentColor: "#4fb3e8"
    readonly property real cellWidth: 120
    readonly property real thumbnailHeight: 72
    readonly property real cellSpacing: 16

    TunnelListModel { id: tunnelModel }
    Component.onCompleted: if (tunnelModel.usesPortal) tunnelModel.choosePortalWindow()

    component GrayButton: Button {
        id: button
        implicitWidth: 90
        implicitHeight: 25
        font.pixelSize: 13
        contentItem: Text {
            text: button.text
            font: button.font
            color: "white"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 4
            color: button.down ? view.accentColor : "gray"
        }
    }

    Text {
        id: headline
        anchors { top: parent.top; left: parent.left; right: parent.right; margins: 16 }
        text: tunnelModel.usesPortal ? "Share one window to show." : "Please select one window to show."
        color: "white"
        font.pixelSize: 18
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }

    Text {
        anchors { left: parent.left; right: parent.right; verticalCenter: grid.verticalCenter
                  margins: 24 }
        visible: tunnelModel.count === 0 && !tunnelModel.usesPortal
        text: "No windows can be viewing now, please make sure other windows are opened in same desktop space."
        color: "#c8d0d8"
        font.pixelSize: 16
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }

    Text {
        objectName: "portalNote"
        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter
                  margins: 24 }
        visible: tunnelModel.usesPortal
        text: tunnelModel.portalNote
        color: "#c8d0d8"
        font.pixelSize: 16
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }

    GridView {
        id: grid
        visible: tunnelModel.count > 0
        anchors { top: headline.bottom; bottom: buttons.top; topMargin: 12; bottomMargin: 12 }
        anchors.horizontalCenter: parent.horizontalCenter
        // Exactly as wide as the columns, so the rows hold columnCount cells.
        width: cellWidth * tunnelModel.columnCount
        cellWidth: view.cellWidth + view.cellSpacing
        cellHeight: view.thumbnailHeight + 48
        topMargin: 5
        bottomMargin: 5
        clip: true
        model: tunnelModel
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        delegate: Item {
            required property int index
            required property string name
            required property string thumbnail
            required property bool selected
            width: grid.cellWidth
            height: grid.cellHeight

            Image {
                id: picture
                anchors { top: parent.top; horizontalCenter: parent.horizontalCenter; topMargin: 4 }
                width: view.cellWidth
                height: view.thumbnailHeight
                source: thumbnail
                fillMode: Image.Stretch
                asynchronous: true
            }

            Rectangle {
                anchors { fill: picture; margins: -3 }
                visible: selected
                color: "transparent"
                border.color: "white"
                border.width: 2
                radius: 6
            }

            Text {
                anchors { top: picture.bottom; topMargin: 6; horizontalCenter: parent.horizontalCenter }
                width: view.cellWidth
                text: name
                color: "white"
                font.pixelSize: 12
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideRight
            }

            TapHandler { onTapped: tunnelModel.pick(index) }
        }
    }

    Row {
        id: buttons
        anchors { bottom: parent.bottom; horizontalCenter: parent.horizontalCenter; bottomMargin: 12 }
        height: 25
        spacing: 16

        GrayButton {
            visible: !tunnelModel.usesPortal
            text: "Refresh"
            onClicked: tunnelModel.refresh()
        }
        GrayButton {
            objectName: "chooseWindow"
            visible: tunnelModel.usesPortal && tunnelModel.portalOffersWindows
            enabled: !tunnelModel.portalAsking
            implicitWidth: 140
            text: "Choose a Window\u2026"
            onClicked: tunnelModel.choosePortalWindow()
        }
        GrayButton { text: "Close"; onClicked: tunnelModel.close() }
    }
}
