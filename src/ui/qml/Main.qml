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
        function onAnnotationRequested(allow) {
            content.model.allowAnnotation = allow
        }
    }

    Shortcut {
        sequences: [StandardKey.Quit]
        onActivated: window.close()
    }
}
