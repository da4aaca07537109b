import QtQuick
import QtQuick.Controls
import PeloraDravin

// The browser's bookmarks beside its page: a tile per bookmark (its snapshot and name) that opens
// the page, a close button that removes it at once, and "Bookmark this page".
Rectangle {
    id: bookmarkView

    required property BrowserViewModel model
    // The page view is the panel's: it takes the snapshot and calls model.addBookmark.
    signal addRequested()

    color: "#1c2026"
    border.color: "#3a434d"

    // Pointer input on the list stays off the page and board underneath.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: (wheel) => wheel.accepted = true
    }

    onVisibleChanged: if (visible) bookmarkView.model.loadBookmarks()

    component BookmarkThumbnailView: Item {
        id: tile
        // Filled from the list's roles.
        required property string bookmarkId
        required property string url
        required property string name
        required property string thumbnail
        readonly property bool hovered: hover.hovered
        signal clicked()
        signal removed()

        width: 125
        height: 96

        HoverHandler { id: hover }
        TapHandler { onTapped: tile.clicked() }

        Rectangle {
            id: frame
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 4 }
            height: width * 9 / 16
            radius: 4
            color: "#0f1216"
            border.color: tile.hovered ? "#4fb3e8" : "#3a434d"
            clip: true
            Image {
                anchors { fill: parent; margins: 2 }
                source: tile.thumbnail
                fillMode: Image.PreserveAspectFit
                sourceSize: Qt.size(256, 144)
            }
        }
        Text {
            anchors { left: frame.left; right: frame.right; top: frame.bottom; topMargin: 3 }
            text: tile.name
            color: "#d5dce3"
            font.pixelSize: 11
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
        }
        Image {
            anchors { right: frame.right; top: frame.top; margins: 2 }
            width: 24
            height: 24
            source: "qrc:/PeloraDravin/icons/close.svg"
            visible: tile.hovered
            TapHandler { onTapped: tile.removed() }
        }
    }

    Button {
        id: addButton
        objectName: "addBookmarkButton"
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
        text: "Bookmark this page"
        palette { button: "#2b323c"; buttonText: "#e8edf2" }
        onClicked: bookmarkView.addRequested()
    }

    TileGrid {
        objectName: "bookmarkGrid"
        anchors { left: parent.left; right: parent.right; top: addButton.bottom; bottom: parent.bottom }
        anchors { leftMargin: 10; topMargin: 10 }
        model: bookmarkView.model.bookmarks
        emptyText: "No Bookmarks yet"
        delegate: BookmarkThumbnailView {
            onClicked: bookmarkView.model.openBookmark(url)
            onRemoved: bookmarkView.model.removeBookmark(bookmarkId)
        }
    }
}
