import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// What the board's document shows besides the page: the list of saved boards, the name to save
// under, the export choice, progress while a PDF opens or a board exports, short notices, and
// the window-wide page keys.
Item {
    id: views

    property real bottomMargin: 0
    readonly property bool ready: typeof boardSession !== "undefined" && boardSession !== null
    readonly property bool typing: typeof boardBridge !== "undefined" && boardBridge.textEditing

    Shortcut {
        sequence: "PgUp"
        enabled: views.ready && !views.typing
        onActivated: boardSession.previousPage()
    }
    Shortcut {
        sequence: "PgDown"
        enabled: views.ready && !views.typing
        onActivated: boardSession.nextPage()
    }
    Shortcut {
        // Ctrl+O is the control bar's "Open File".
        sequence: "Ctrl+Shift+O"
        enabled: views.ready
        onActivated: boardList.show()
    }
    Shortcut {
        sequence: "Ctrl+S"
        enabled: views.ready
        onActivated: boardSession.saveNow()
    }
    Shortcut {
        sequence: "Ctrl+Shift+S"
        enabled: views.ready
        onActivated: saveAsDialog.show()
    }

    function showNotice(text) { notice.show(text) }

    Connections {
        target: views.ready ? boardSession : null
        function onOpenListRequested() { boardList.show() }
        function onSaveAsRequested() { saveAsDialog.show() }
        function onExportRequested() { exportDialog.open() }
        function onNoticeRequested(text) { notice.show(text) }
    }

    // Progress of long work: a PDF opening, an export.
    Rectangle {
        objectName: "boardProgress"
        visible: views.ready && boardSession.busy
        anchors { horizontalCenter: parent.horizontalCenter; top: parent.top; topMargin: 18 }
        width: 360
        height: 56
        radius: 10
        color: "#e61c2026"
        ColumnLayout {
            anchors { fill: parent; margins: 10 }
            spacing: 6
            Label {
                Layout.fillWidth: true
                text: views.ready ? boardSession.progressText : ""
                color: "#e8edf2"
                elide: Text.ElideRight
            }
            ProgressBar {
                Layout.fillWidth: true
                from: 0
                to: 1
                value: views.ready ? boardSession.progress : 0
                indeterminate: views.ready && boardSession.progress <= 0
            }
        }
    }

    Rectangle {
        id: notice
        objectName: "boardNotice"
        property alias text: noticeText.text
        function show(text) {
            noticeText.text = text
            opacity = 1
            noticeTimer.restart()
        }
        anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom
                  bottomMargin: views.bottomMargin + 16 }
        width: Math.min(noticeText.implicitWidth + 32, views.width - 40)
        height: noticeText.implicitHeight + 18
        radius: height / 2
        color: "#e61c2026"
        opacity: 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 250 } }
        Label {
            id: noticeText
            anchors.centerIn: parent
            width: parent.width - 32
            color: "#e8edf2"
            elide: Text.ElideMiddle
            horizontalAlignment: Text.AlignHCenter
        }
        Timer {
            id: noticeTimer
            interval: 4000
            onTriggered: notice.opacity = 0
        }
    }

    BoardListView {
        id: boardList
        objectName: "boardList"
    }

    Dialog {
        id: saveAsDialog
        objectName: "boardSaveAs"
        function show() {
            nameField.text = views.ready ? boardSession.boardName : ""
            open()
            nameField.selectAll()
            nameField.forceActiveFocus()
        }
        anchors.centerIn: parent
        modal: true
        title: "Save board as"
        standardButtons: Dialog.Save | Dialog.Cancel
        TextField {
            id: nameField
            width: 360
            placeholderText: "Name of the board"
            onAccepted: saveAsDialog.accept()
        }
        onAccepted: boardSession.saveAs(nameField.text)
    }

    Dialog {
        id: exportDialog
        objectName: "boardExport"
        anchors.centerIn: parent
        modal: true
        title: "Export"
        standardButtons: Dialog.Cancel
        ColumnLayout {
            spacing: 8
            Label {
                text: "Into the pictures folder of the storage folder:"
            }
            Button {
                Layout.fillWidth: true
                text: "The whole board as PDF"
                onClicked: {
                    exportDialog.close()
                    boardSession.exportAs("pdf")
                }
            }
            Button {
                Layout.fillWidth: true
                text: "This page as PNG picture"
                onClicked: {
                    exportDialog.close()
                    boardSession.exportAs("png")
                }
            }
        }
    }
}
