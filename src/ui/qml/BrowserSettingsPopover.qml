import QtQuick
import QtQuick.Controls
import PeloraDravin

// The browser panel's settings: how see-through the panel is, and how the page is styled.
Popup {
    id: popover

    required property BrowserViewModel model

    padding: 14
    font.pixelSize: 13
    // A press on the settings button itself is left to the button, which toggles the popover.
    closePolicy: Popup.CloseOnPressOutsideParent | Popup.CloseOnEscape
    // Opened and closed through the model, so a binding on `visible` cannot be broken by a close.
    Connections {
        target: popover.model
        function onShowPopoverSettingsChanged() {
            if (popover.model.showPopoverSettings) popover.open()
            else popover.close()
        }
    }
    onClosed: popover.model.showPopoverSettings = false

    palette {
        window: "#1c2026"
        windowText: "#e8edf2"
        base: "#242a31"
        text: "#e8edf2"
        button: "#2b323c"
        buttonText: "#e8edf2"
        highlight: "#4fb3e8"
        light: "#3a434d"
        mid: "#2b323c"
        dark: "#15191e"
    }

    background: Rectangle {
        color: "#1c2026"
        radius: 8
        border.color: "#3a434d"
    }

    Grid {
        columns: 2
        columnSpacing: 12
        rowSpacing: 10
        verticalItemAlignment: Grid.AlignVCenter

        Label { text: "Transparency:" }
        Slider {
            objectName: "transparencySlider"
            width: 80
            from: 0.2
            to: 1.0
            value: popover.model.opacityValue
            onMoved: popover.model.opacityValue = value
        }

        Label { text: "Background Removal:" }
        Switch {
            objectName: "removalSwitch"
            checked: popover.model.enableRemoveBackground
            onToggled: popover.model.enableRemoveBackground = checked
        }

        Label { text: "Invert Color:" }
        Switch {
            objectName: "invertSwitch"
            checked: popover.model.inverted
            onToggled: popover.model.inverted = checked
        }
    }
}
