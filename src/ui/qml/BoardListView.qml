import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The saved boards, newest first, each with its first page: a click opens one, "New board"
// starts an empty one. What is on the board now is saved before another takes its place.
Popup {
    id: list

    function show() {
        boards.model = typeof boardSession !== "undefined" ? boardSession.boardList() : []
        open()
    }

    anchors.centerIn: Overlay.overlay
    width: Math.min(1040, parent ? parent.width - 80 : 1040)
    height: Math.min(680, parent ? parent.height - 160 : 680)
    modal: true
    padding: 18
    background: Rectangle { color: "#1c2026"; radius: 12; border.color: "#3a434d" }

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            Label {
                Layout.fillWidth: true
                text: "Boards"
                color: "#e8edf2"
                font.pixelSize: 20
                font.bold: true
            }
            Button {
                text: "New board"
                onClicked: {
                    list.close()
                    boardSession.newBoard()
                }
            }
            Button {
                text: "Close"
                onClicked: list.close()
            }
        }

        Label {
            visible: boards.count === 0
            text: "No saved boards yet. What you draw is saved by itself in the storage folder."
            color: "#9aa7b4"
        }

        GridView {
            id: boards
            objectName: "boardGrid"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            cellWidth: 246
            cellHeight: 190
            ScrollBar.vertical: ScrollBar {}

            delegate: Item {
                width: boards.cellWidth
                height: boards.cellHeight
                required property var modelData

                Rectangle {
                    id: card
                    anchors { fill: parent; margins: 6 }
                    radius: 8
                    color: cardMouse.containsMouse ? "#2b323c" : "#23292f"
                    border.color: modelData.current ? "#4fb3e8" : "#3a434d"
                    border.width: modelData.current ? 2 : 1

                    Rectangle {
                        id: thumb
                        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 8 }
                        height: width * 9 / 16
                        color: "#f4f4f2"
                        radius: 4
                        clip: true
                        Image {
                            anchors.fill: parent
                            source: modelData.thumbnail
                            fillMode: Image.PreserveAspectFit
                            asynchronous: true
                        }
                    }
                    Label {
                        anchors { left: thumb.left; right: thumb.right; top: thumb.bottom; topMargin: 6 }
                        text: modelData.name
                        color: "#e8edf2"
                        elide: Text.ElideMiddle
                    }
                    Label {
                        anchors { left: thumb.left; right: thumb.right; bottom: parent.bottom; bottomMargin: 6 }
                        text: modelData.modified + (modelData.current ? "  ·  open now" : "")
                        color: "#9aa7b4"
                        font.pixelSize: 11
                        elide: Text.ElideRight
                    }
                    MouseArea {
                        id: cardMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            list.close()
                            boardSession.openBoard(modelData.path)
                        }
                    }
                }
            }
        }
    }
}
