import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import PeloraDravin

// The library side panel: the user's imported files and the templates, as tiles to drag onto the
// board. It slides out of the way to a handle at the window's edge.
Rectangle {
    id: panel

    readonly property alias model: libraryModel
    readonly property int handleWidth: 28
    // Where the panel's left edge sits, from the right edge of its parent: all of it or the handle.
    readonly property real shownWidth: libraryModel.hideFileLibrary ? handleWidth : width

    color: "#1c2026"

    FileLibraryModel {
        id: libraryModel
        onSaveFailed: (text, folderMissing) => app.reportSaveFailure(text, folderMissing)
    }

    // A picture goes onto the current page; a PDF or a deck adds a page each.
    function showOnBoard(url) {
        if (typeof boardSession !== "undefined") boardSession.openOnBoard(libraryModel.localPath(url))
    }
    function isPdf(url) { return url.toString().toLowerCase().endsWith(".pdf") }

    Menu {
        id: tileMenu
        objectName: "tileMenu"
        property url fileUrl
        function openFor(tile, url, x, y) {
            fileUrl = url
            popup(tile, x, y)
        }
        MenuItem {
            text: "Show on board"
            onTriggered: panel.showOnBoard(tileMenu.fileUrl)
        }
        MenuItem {
            text: "Open in viewer"
            visible: panel.isPdf(tileMenu.fileUrl)
            height: visible ? implicitHeight : 0
            onTriggered: libraryModel.openInViewer(tileMenu.fileUrl)
        }
    }

    Component.onCompleted: libraryModel.appeared()
    Component.onDestruction: libraryModel.disappeared()

    // Pointer input on the panel stays with the panel.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: (wheel) => wheel.accepted = true
    }

    Rectangle {
        id: handle
        anchors { left: parent.left; top: parent.top; bottom: parent.bottom }
        width: panel.handleWidth
        color: handleMouse.containsMouse ? "#353e49" : "#2b323c"

        Text {
            anchors.centerIn: parent
            rotation: -90
            text: (libraryModel.hideFileLibrary ? "▲  " : "▼  ") + "Library"
            color: "#d5dce3"
            font.pixelSize: 13
        }
        MouseArea {
            id: handleMouse
            anchors.fill: parent
            hoverEnabled: true
            onClicked: libraryModel.hideFileLibrary = !libraryModel.hideFileLibrary
        }
    }

    // The controls take the panel's dark colours.
    Pane {
        anchors { left: handle.right; right: parent.right; top: parent.top; bottom: parent.bottom }
        padding: 8
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

    ColumnLayout {
        anchors.fill: parent
        spacing: 8

        TabBar {
            id: tabs
            Layout.fillWidth: true
            TabButton { text: "My Files (" + libraryModel.files.count + ")" }
            TabButton { text: "Templates (" + libraryModel.templateCount + ")" }
        }

        StackLayout {
            currentIndex: tabs.currentIndex
            Layout.fillWidth: true
            Layout.fillHeight: true

            // My Files
            ColumnLayout {
                spacing: 8

                Button {
                    id: importButton
                    text: "Import"
                    icon.source: "qrc:/PeloraDravin/icons/toolbar_import.svg"
                    icon.color: "transparent"
                    onClicked: importDialog.open()
                }

                TileGrid {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    model: libraryModel.files
                    emptyText: "Drag & Drop or import files into here for image insertion"
                    delegate: ThumbnailView {
                        fileId: model.fileId
                        fileUrl: model.fileUrl
                        thumbnail: model.thumbnail
                        name: model.name
                        fileSource: "library"
                        hasMenu: true
                        onClicked: libraryModel.tileClicked()
                        onDoubleClicked: panel.showOnBoard(fileUrl)
                        onMenuRequested: (x, y) => tileMenu.openFor(this, fileUrl, x, y)
                        onRemoveRequested: deleteConfirmation.ask(fileSource, fileId, name)
                    }
                }
            }

            // Templates
            ColumnLayout {
                spacing: 8

                TextField {
                    id: search
                    Layout.fillWidth: true
                    placeholderText: "Search ..."
                    leftPadding: 34
                    text: libraryModel.searchText
                    onTextEdited: libraryModel.searchText = text
                    Image {
                        anchors { left: parent.left; leftMargin: 8; verticalCenter: parent.verticalCenter }
                        width: 18
                        height: 18
                        source: "qrc:/PeloraDravin/icons/search.svg"
                    }
                }

                Flow {
                    Layout.fillWidth: true
                    spacing: 6
                    Repeater {
                        model: libraryModel.categoryList
                        delegate: Rectangle {
                            id: chip
                            required property string modelData
                            required property int index
                            readonly property bool lit: modelData === libraryModel.selectedCategory
                                                        || modelData === libraryModel.hoveredCategory
                            width: chipText.implicitWidth + 20
                            height: 26
                            radius: 13
                            color: lit ? "#4fb3e8" : "#2b323c"
                            Text {
                                id: chipText
                                anchors.centerIn: parent
                                text: chip.modelData
                                color: chip.lit ? "#0f1216" : "#d5dce3"
                                font.pixelSize: 12
                            }
                            HoverHandler {
                                onHoveredChanged: libraryModel.hoveredCategory = hovered ? chip.modelData : ""
                            }
                            TapHandler { onTapped: libraryModel.selectCategory(chip.index) }
                        }
                    }
                }

                TileGrid {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    model: libraryModel.templates
                    emptyText: "No templates."
                    emptyFont.pixelSize: 17
                    delegate: ThumbnailView {
                        fileId: model.fileId
                        fileUrl: model.fileUrl
                        thumbnail: model.thumbnail
                        name: model.name
                        favorited: model.favorited
                        showFav: true
                        onClicked: libraryModel.tileClicked()
                        onFavoriteToggled: (on) => libraryModel.setFavorite(fileId, on)
                    }
                }
            }
        }

        // The snapshot archive shares the panel, below the tabs.
        ArchiveListView {
            id: archiveList
            Layout.fillWidth: true
            Layout.preferredHeight: model.hideArchiveList ? implicitHeight : panel.height * 0.42
        }
    }

    }

    // Files from the desktop or a file manager join the library; tiles dragged from here do not.
    DropArea {
        anchors.fill: parent
        onEntered: (drag) => drag.accepted = drag.hasUrls && !(drag.source instanceof ThumbnailView)
        onDropped: (drop) => {
            if (libraryModel.importDroppedUrls(drop.urls)) drop.accept(Qt.CopyAction)
        }
    }

    FileDialog {
        id: importDialog
        title: "Choose an image, powerpoint, keynote"
        fileMode: FileDialog.OpenFiles
        nameFilters: ["Pictures, PDF files and slide decks (*.png *.jpg *.jpeg *.gif *.svg *.key"
                      + " *.ppt *.pdf *.pptx *.PNG *.JPG *.JPEG *.GIF *.SVG *.KEY *.PPT *.PDF *.PPTX)"]
        onAccepted: libraryModel.importChosenFiles(selectedFiles)
    }

    Connections {
        target: libraryModel
        function onImportPanelRequested() { importDialog.open() }
    }

    Shortcut {
        sequences: [StandardKey.Open]
        onActivated: importDialog.open()
    }

    DeleteConfirmation {
        id: deleteConfirmation
        onConfirmed: (fileId) => libraryModel.removeFile(fileId)
    }

    // While a deck is converted: the notice, how far it is, and a way out.
    Rectangle {
        anchors.fill: parent
        anchors.leftMargin: panel.handleWidth
        visible: libraryModel.showingConvertingAlert
        color: "#e6151a20"

        MouseArea { anchors.fill: parent }

        ColumnLayout {
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter }
            anchors.margins: 20
            spacing: 14

            Label {
                Layout.fillWidth: true
                wrapMode: Text.Wrap
                font.pixelSize: 17
                font.bold: true
                text: "Importing your file into Tarvo Library, it will be appeared in the list on the right side. Please wait."
            }
            ProgressBar {
                Layout.fillWidth: true
                indeterminate: libraryModel.deckTotal === 0
                value: libraryModel.deckTotal > 0 ? libraryModel.deckDone / libraryModel.deckTotal : 0
            }
            Label {
                Layout.fillWidth: true
                elide: Text.ElideMiddle
                color: "#9aa6b2"
                text: libraryModel.deckTotal === 0
                      ? "Converting \"" + libraryModel.deckName + "\" ..."
                      : "\"" + libraryModel.deckName + "\": slide " + libraryModel.deckDone
                        + " of " + libraryModel.deckTotal
            }
            Button {
                text: "Cancel"
                onClicked: libraryModel.cancelImport()
            }
        }
    }

    // What went wrong with an import, until dismissed.
    Rectangle {
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        anchors { leftMargin: panel.handleWidth + 8; rightMargin: 8; bottomMargin: 8 }
        visible: libraryModel.message !== ""
        height: messageText.implicitHeight + 20
        radius: 6
        color: "#5a2a2a"
        Text {
            id: messageText
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter }
            anchors.margins: 10
            anchors.rightMargin: 30
            wrapMode: Text.Wrap
            color: "#f4e6e6"
            text: libraryModel.message
        }
        Image {
            anchors { right: parent.right; top: parent.top; margins: 4 }
            width: 22
            height: 22
            source: "qrc:/PeloraDravin/icons/close.svg"
            TapHandler { onTapped: libraryModel.dismissMessage() }
        }
    }
}
