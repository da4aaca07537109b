import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import PeloraDravin

// Snapshots played as an animation and exported as an animated GIF. New snapshots join the frames
// while the generator is open.
Pane {
    id: view

    readonly property alias model: gifModel

    padding: 12
    background: null
    palette {
        window: "#1c2026"
        windowText: "#d5dce3"
        base: "#15191e"
        text: "#e8edf2"
        button: "#2b323c"
        buttonText: "#d5dce3"
        light: "#353e49"
        mid: "#3a434d"
        dark: "#15191e"
        highlight: "#4fb3e8"
        placeholderText: "#7d8894"
    }

    GifGeneratorModel { id: gifModel }
    Component.onCompleted: gifModel.start()

    RowLayout {
        anchors.fill: parent
        spacing: 14

        // The player and its speed.
        ColumnLayout {
            Layout.fillHeight: true
            Layout.preferredWidth: 360
            spacing: 8

            Rectangle {
                Layout.fillWidth: true
                Layout.fillHeight: true
                color: "#0f1216"
                radius: 4
                Image {
                    anchors { fill: parent; margins: 2 }
                    source: gifModel.currentFrameUrl
                    sourceSize: Qt.size(720, 405)
                    fillMode: Image.PreserveAspectFit
                    asynchronous: false
                    cache: true
                }
                Label {
                    anchors.centerIn: parent
                    visible: gifModel.frames.count === 0
                    text: "No frames yet"
                    color: "#7d8894"
                }
            }

            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 6
                Label { text: "Slow"; Layout.preferredWidth: 50; horizontalAlignment: Text.AlignRight }
                Slider {
                    id: speed
                    Layout.preferredWidth: 150
                    from: 0
                    to: 1.4
                    value: gifModel.sliderValue
                    onMoved: gifModel.sliderValue = value
                }
                Label { text: "Fast"; Layout.preferredWidth: 50 }
            }
        }

        // The frames and the actions.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 8

            RowLayout {
                Layout.fillWidth: true
                spacing: 8
                Label { text: gifModel.frames.count + " Frames"; font.bold: true }
                Item { Layout.fillWidth: true }
                Label { text: "Load previous frames:" }
                SpinBox {
                    from: 1
                    to: 100
                    value: gifModel.framesToLoad
                    editable: true
                    onValueModified: gifModel.framesToLoad = value
                }
                Button {
                    text: "Load"
                    onClicked: gifModel.loadPreviousFrames()
                }
            }

            ListView {
                id: frameList
                Layout.fillWidth: true
                Layout.fillHeight: true
                orientation: ListView.Horizontal
                clip: true
                spacing: 4
                model: gifModel.frames
                ScrollBar.horizontal: ScrollBar { policy: ScrollBar.AsNeeded }
                delegate: ThumbnailView {
                    fileId: model.fileId
                    fileUrl: model.fileUrl
                    thumbnail: model.thumbnail
                    name: model.name
                    fileSource: "gif"
                    onRemoved: gifModel.removeFrame(fileId)
                }
                footer: Item {
                    width: 133
                    height: 96
                    Rectangle {
                        anchors { fill: parent; leftMargin: 8; topMargin: 4; bottomMargin: 26 }
                        radius: 4
                        color: "transparent"
                        border.color: "#56616e"
                        border.width: 1
                        Label {
                            anchors { fill: parent; margins: 6 }
                            text: "Next snapshot will be here."
                            wrapMode: Text.Wrap
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            color: "#9aa6b2"
                            font.pixelSize: 11
                        }
                    }
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 8
                Button { text: "Clear"; onClicked: gifModel.clear() }
                Button { text: "Close"; onClicked: gifModel.close() }
                Item { Layout.fillWidth: true }
                ProgressBar {
                    visible: gifModel.exporting
                    Layout.preferredWidth: 160
                    value: gifModel.exportFraction
                }
                Button {
                    visible: gifModel.exporting
                    text: "Cancel"
                    onClicked: gifModel.cancelExport()
                }
                Label {
                    visible: gifModel.message !== ""
                    text: gifModel.message
                    color: "#f0a0a0"
                    elide: Text.ElideRight
                    Layout.maximumWidth: 260
                }
                Button {
                    text: "Export GIF"
                    Layout.preferredWidth: 110
                    highlighted: true
                    enabled: gifModel.frames.count > 0 && !gifModel.exporting
                    onClicked: {
                        saveDialog.selectedFile = gifModel.proposedExportUrl()
                        saveDialog.open()
                    }
                }
            }
        }
    }

    FileDialog {
        id: saveDialog
        title: "Export GIF"
        fileMode: FileDialog.SaveFile
        acceptLabel: "Save"
        defaultSuffix: "gif"
        nameFilters: ["Animated GIF (*.gif)"]
        onAccepted: gifModel.exportTo(selectedFile)
    }

    Dialog {
        id: exported
        visible: gifModel.showingDeleteAlert
        modal: true
        closePolicy: Popup.NoAutoClose
        anchors.centerIn: Overlay.overlay
        width: 420
        title: "Export Successful!"
        Label {
            width: parent.width
            wrapMode: Text.Wrap
            text: "Do you want to DELETE original snapshots from your computer?"
        }
        footer: DialogButtonBox {
            Button {
                text: "DELETE"
                DialogButtonBox.buttonRole: DialogButtonBox.DestructiveRole
                onClicked: gifModel.deleteOriginals()
            }
            Button {
                text: "Keep"
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
                onClicked: gifModel.keepOriginals()
            }
        }
    }
}
