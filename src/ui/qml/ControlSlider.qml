import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// One picture control: its icon, caption, slider and value. `moved` reports the user's value;
// `value` follows the model, so a reset moves the handle back.
RowLayout {
    id: row

    property string icon
    property string caption
    property real from
    property real to
    property real value

    signal moved(real value)

    spacing: 10

    Image {
        Layout.preferredWidth: 22
        Layout.preferredHeight: 22
        sourceSize: Qt.size(44, 44)
        source: "qrc:/PeloraDravin/icons/" + row.icon + ".svg"
    }
    Text {
        Layout.preferredWidth: 96
        text: row.caption
        color: "#e8edf2"
        font.pixelSize: 14
    }
    Slider {
        id: slider
        Layout.preferredWidth: 240
        from: row.from
        to: row.to
        stepSize: 1
        value: row.value
        onMoved: row.moved(value)
    }
    Text {
        Layout.preferredWidth: 40
        text: Math.round(slider.value)
        color: "#9aa7b4"
        font.pixelSize: 13
        horizontalAlignment: Text.AlignRight
    }
}
