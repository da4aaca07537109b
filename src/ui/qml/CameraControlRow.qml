import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// One of the camera's own controls, as its kind asks: a slider, a switch or a menu. A change
// leaves as `changed`; the shown value then goes back to what the camera reports, so a refused
// write never stays on screen.
RowLayout {
    id: row

    required property string name
    required property string label
    required property string kind
    required property int minimum
    required property int maximum
    required property int step
    required property int value
    required property var menuLabels
    required property var menuValues
    required property bool inactive

    signal changed(string name, int value)

    spacing: 10
    enabled: !row.inactive
    opacity: row.inactive ? 0.5 : 1

    // No wider than a row of the maker's HID sliders, so the popover keeps its size beside them.
    Text {
        Layout.preferredWidth: 150
        text: row.label
        elide: Text.ElideRight
        color: "#e8edf2"
        font.pixelSize: 14
    }
    Slider {
        id: slider
        visible: row.kind === "integer"
        Layout.preferredWidth: 200
        from: row.minimum
        to: row.maximum
        stepSize: row.step
        value: row.value
        onMoved: {
            row.changed(row.name, Math.round(value));
            value = Qt.binding(() => row.value);
        }
    }
    Text {
        visible: row.kind === "integer"
        Layout.preferredWidth: 48
        text: Math.round(slider.value)
        color: "#9aa7b4"
        font.pixelSize: 13
        horizontalAlignment: Text.AlignRight
    }
    Switch {
        visible: row.kind === "boolean"
        checked: row.value !== 0
        onToggled: {
            row.changed(row.name, checked ? 1 : 0);
            checked = Qt.binding(() => row.value !== 0);
        }
    }
    ComboBox {
        visible: row.kind === "menu"
        Layout.preferredWidth: 200
        model: row.menuLabels
        currentIndex: row.menuValues.indexOf(row.value)
        onActivated: index => {
            row.changed(row.name, row.menuValues[index]);
            currentIndex = Qt.binding(() => row.menuValues.indexOf(row.value));
        }
    }
}
