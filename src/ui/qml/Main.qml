import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import PeloraDravin

// The one main window: 1280 x 800 centred, then full screen. `app` is the application core.
ApplicationWindow {
    id: window
    width: 1280
    height: 800
    x: (Screen.width - width) / 2
    y: (Screen.height - height) / 2
    title: Qt.application.displayName
    color: "black"

    ContentView {
        id: content
        anchors.fill: parent
    }

    MessageDialog {
        id: alert
        buttons: MessageDialog.Ok
    }

    // The storage folder is gone: the user plugs it in again, or chooses another one from here.
    Dialog {
        id: storageAlert
        objectName: "storageAlert"
        property alias text: storageText.text
        anchors.centerIn: Overlay.overlay
        modal: true
        title: Qt.application.displayName
        Label {
            id: storageText
            width: Math.min(implicitWidth, window.width * 0.6)
            wrapMode: Text.WordWrap
        }
        footer: DialogButtonBox {
            Button {
                text: qsTr("Choose Folder…")
                DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
                onClicked: {
                    storageAlert.close()
                    content.controlBarModel.changeArchive()
                }
            }
            Button {
                text: qsTr("OK")
                DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
            }
        }
    }

    Connections {
        target: app
        function onAlertRequested(text) {
            alert.text = text
            alert.open()
        }
        function onStorageAlertRequested(text) {
            storageAlert.text = text
            storageAlert.open()
        }
        // As the bar's own button does, so the bar shows the state and the board hears it.
        function onAnnotationRequested(allow) {
            if (content.controlBarModel.enableAnnotation !== allow)
                content.controlBarModel.toggleAnnotation()
        }
        function onImportRequested(paths) {
            content.libraryModel.importChosenPaths(paths)
        }
        function onLibraryRequested(show) { content.libraryModel.hideFileLibrary = !show }
    }

    Shortcut {
        sequences: [StandardKey.Quit]
        onActivated: window.close()
    }
}
