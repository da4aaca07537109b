import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import PeloraDravin

// The snapshots and recordings, newest first: a tile shows its item beside the live picture.
// The header collapses the list; the folder button opens the storage folder.
ColumnLayout {
    id: archive

    readonly property alias model: archiveModel

    spacing: 6

    ArchiveListModel {
        id: archiveModel
        onAlertRequested: (text) => {
            alert.text = text
            alert.open()
        }
    }
    Component.onCompleted: archiveModel.appeared()

    RowLayout {
        Layout.fillWidth: true
        spacing: 6

        ToolButton {
            icon.source: "qrc:/PeloraDravin/icons/toolbar_arrow_down.svg"
            icon.color: "transparent"
            rotation: archiveModel.hideArchiveList ? 180 : 0
            onClicked: archiveModel.hideArchiveList = !archiveModel.hideArchiveList
        }
        Label {
            text: "Snapshots (" + archiveModel.files.count + ")"
            font.bold: true
            Layout.fillWidth: true
        }
        ToolButton {
            icon.source: "qrc:/PeloraDravin/icons/toolbar_folder.svg"
            icon.color: "transparent"
            ToolTip.visible: hovered
            ToolTip.text: "Open the storage folder"
            onClicked: archiveModel.openFolder()
        }
    }

    // "Open in gif" and "Generate GIF": the row starts the GIF generator.
    Rectangle {
        Layout.fillWidth: true
        visible: !archiveModel.hideArchiveList
        height: 34
        radius: 6
        color: gifRow.containsMouse ? "#353e49" : "#2b323c"
        RowLayout {
            anchors { fill: parent; leftMargin: 10; rightMargin: 10 }
            Label { text: "Open in gif"; color: "#9aa6b2" }
            Item { Layout.fillWidth: true }
            Label { text: "Generate GIF"; color: "#4fb3e8"; font.bold: true }
        }
        MouseArea {
            id: gifRow
            anchors.fill: parent
            hoverEnabled: true
            onClicked: archiveModel.openGifGenerator()
        }
    }

    TileGrid {
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: !archiveModel.hideArchiveList
        model: archiveModel.files
        emptyText: "No Snapshots yet."
        emptyFont.pixelSize: 17
        delegate: ThumbnailView {
            fileId: model.fileId
            fileUrl: model.fileUrl
            thumbnail: model.thumbnail
            name: model.name
            fileSource: "archive"
            onClicked: archiveModel.open(fileId)
            onRemoveRequested: deleteConfirmation.ask(fileSource, fileId, name)
        }
    }

    MessageDialog {
        id: alert
        buttons: MessageDialog.Ok
    }

    DeleteConfirmation {
        id: deleteConfirmation
        onConfirmed: (fileId) => archiveModel.removeFile(fileId)
    }
}
