import QtQuick
import QtQuick.Controls

// A popover above the bar button it belongs to, open while `shown`. A press elsewhere closes it;
// a press on its own button is left to the button, which toggles it.
Popup {
    id: popover

    property bool shown: false
    // Called when the popover closed itself (a press outside), so the state follows.
    signal dismissed()

    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? -height - 12 : 0
    margins: 8
    padding: 16
    font.pixelSize: 14
    closePolicy: Popup.CloseOnPressOutsideParent
    focus: false

    onShownChanged: shown ? open() : close()
    onClosed: if (shown) dismissed()

    palette {
        window: "#1c2026"
        windowText: "#e8edf2"
        base: "#242a31"
        alternateBase: "#2b323c"
        text: "#e8edf2"
        button: "#2b323c"
        buttonText: "#e8edf2"
        brightText: "#ffffff"
        highlight: "#4fb3e8"
        highlightedText: "#0a1420"
        light: "#3a434d"
        midlight: "#333b45"
        mid: "#2b323c"
        dark: "#15191e"
        shadow: "#000000"
        placeholderText: "#7d8896"
    }

    background: Rectangle {
        color: "#1c2026"
        radius: 10
        border.color: "#3a434d"
        border.width: 1
    }

    enter: Transition { NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 120 } }
    exit: Transition { NumberAnimation { property: "opacity"; from: 1; to: 0; duration: 90 } }
}
