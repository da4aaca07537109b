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

    Connections {
        target: app
        function onAlertRequested(text) {
            alert.text = text
            alert.open()
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
