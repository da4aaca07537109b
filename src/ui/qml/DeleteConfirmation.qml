import QtQuick
import QtQuick.Controls

// Asks before a tile's file leaves the disk. The title says whether the file is only the
// library's copy or the user's own capture.
Dialog {
    id: dialog

    property string fileSource: "library"
    property string fileId
    property string fileName

    signal confirmed(string fileId)

    function ask(source, id, name) {
        fileSource = source
        fileId = id
        fileName = name
        open()
    }

    modal: true
    anchors.centerIn: Overlay.overlay
    width: 420
    title: fileSource === "library"
           ? "Are you sure you want to remove this file from the chameleon bar?"
           : "Are you sure you want to delete this file?"
    standardButtons: Dialog.Yes | Dialog.Cancel

    header: Label {
        text: dialog.title
        wrapMode: Text.Wrap
        font.bold: true
        padding: 16
        bottomPadding: 4
    }

    Label {
        width: parent.width
        wrapMode: Text.Wrap
        text: dialog.fileSource === "library"
              ? dialog.fileName
              : dialog.fileName + "\n\n This will DELETE the file from your computer."
    }

    onAccepted: confirmed(fileId)
    Component.onCompleted: standardButton(Dialog.Yes).forceActiveFocus()
}
