import QtQuick

// One tile of a library list: the thumbnail and name, a close button or a favourite star while
// hovered, and a drag that offers the item's file URL to the board or any other application.
Item {
    id: tile

    // "library", "archive" or "gif": which list the tile belongs to.
    property string fileSource: "library"
    property bool showFav: false
    property string fileId
    property url fileUrl
    property string name
    property var thumbnail
    property bool favorited: false
    readonly property bool hovered: hover.hovered

    // The close button: the list confirms and deletes, except for GIF frames which just go.
    signal removeRequested()
    signal removed()
    signal clicked()
    signal doubleClicked()
    // The tile's menu, at a point of the tile (a right click, or its "⋯" button).
    signal menuRequested(real x, real y)
    signal favoriteToggled(bool favorited)
    // Tiles with a menu show its button while hovered.
    property bool hasMenu: false

    width: 125
    height: 96

    HoverHandler { id: hover }
    TapHandler {
        onTapped: tile.clicked()
        onDoubleTapped: tile.doubleClicked()
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        enabled: tile.hasMenu
        onTapped: (point) => tile.menuRequested(point.position.x, point.position.y)
    }

    DragHandler {
        id: dragHandler
        target: null
    }
    Drag.active: dragHandler.active
    Drag.dragType: Drag.Automatic
    Drag.supportedActions: Qt.CopyAction
    Drag.mimeData: { "text/uri-list": tile.fileUrl.toString() + "\r\n" }
    Drag.imageSource: tile.thumbnail

    Rectangle {
        id: frame
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 4 }
        height: width * 9 / 16
        radius: 4
        color: "#0f1216"
        border.color: tile.hovered ? "#4fb3e8" : "#3a434d"
        border.width: 1
        clip: true

        Image {
            anchors { fill: parent; margins: 2 }
            source: tile.thumbnail
            fillMode: Image.PreserveAspectFit
            smooth: true
            sourceSize: Qt.size(256, 144)
        }
    }

    Text {
        anchors { left: frame.left; right: frame.right; top: frame.bottom; topMargin: 3 }
        text: tile.name
        color: "#d5dce3"
        font.pixelSize: 11
        elide: Text.ElideMiddle
        horizontalAlignment: Text.AlignHCenter
    }

    Image {
        id: closeButton
        anchors { right: frame.right; top: frame.top; margins: 2 }
        width: 24
        height: 24
        source: "qrc:/PeloraDravin/icons/close.svg"
        visible: tile.hovered && !tile.showFav
        TapHandler {
            onTapped: tile.fileSource === "gif" ? tile.removed() : tile.removeRequested()
        }
    }

    Image {
        anchors { right: frame.right; top: frame.top; margins: 2 }
        width: 24
        height: 24
        source: tile.favorited ? "qrc:/PeloraDravin/icons/favorite_on.svg"
                               : "qrc:/PeloraDravin/icons/favorite.svg"
        visible: tile.showFav && (tile.hovered || tile.favorited)
        TapHandler { onTapped: tile.favoriteToggled(!tile.favorited) }
    }

    Rectangle {
        objectName: "tileMenuButton"
        anchors { left: frame.left; top: frame.top; margins: 3 }
        width: 24
        height: 20
        radius: 4
        color: "#cc1c2026"
        visible: tile.hasMenu && tile.hovered
        Text {
            anchors.centerIn: parent
            text: "⋯"
            color: "#e8edf2"
            font.pixelSize: 16
        }
        TapHandler { onTapped: tile.menuRequested(parent.x, parent.y + parent.height) }
    }
}
