import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import PeloraDravin

// Pairs the wireless camera with its dongle while both are plugged in: shows what each reports
// and writes the settings that make them find each other.
Item {
    id: view

    readonly property alias model: veltro

    readonly property color textColor: "#e8edf2"
    readonly property color dimColor: "#7d8896"
    readonly property color accentColor: "#4fb3e8"
    readonly property color errorColor: "#ff7b72"
    readonly property color okColor: "#7ddc8a"

    // The dongle writes its values in double quotes.
    function unquoted(text) {
        return text.length >= 2 && text[0] === '"' && text[text.length - 1] === '"'
            ? text.slice(1, -1) : text
    }

    VeltroConfigModel { id: veltro }

    Component.onCompleted: veltro.startLinks()

    component Caption: Text {
        color: view.textColor
        font.pixelSize: 14
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    component Field: TextField {
        color: view.textColor
        selectedTextColor: "#101316"
        selectionColor: view.accentColor
        font.pixelSize: 14
        leftPadding: 10
        rightPadding: 10
        Layout.fillWidth: true
        background: Rectangle {
            implicitHeight: 32
            radius: 4
            color: "#101316"
            border.color: parent.activeFocus ? view.accentColor : "#3a434d"
        }
    }

    component ActionButton: Button {
        id: action
        property bool primary: false
        font.pixelSize: 14
        implicitWidth: 110
        implicitHeight: 34
        contentItem: Text {
            text: action.text
            font: action.font
            color: action.enabled ? view.textColor : view.dimColor
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 6
            color: action.primary ? (action.down ? "#2f7fab" : view.accentColor)
                                  : (action.down ? "#3a434d" : "#2b323c")
            border.color: action.primary ? "transparent" : "#6b7785"
        }
    }

    // A device's box; five taps on it in one gesture turn on the service display.
    component DeviceSection: Rectangle {
        id: section
        default property alias content: lines.data
        Layout.fillWidth: true
        implicitHeight: lines.implicitHeight + 24
        radius: 6
        color: "#232930"
        border.color: "#3a434d"

        ColumnLayout {
            id: lines
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 12 }
            spacing: 4
        }

        TapHandler {
            onTapped: veltro.tapped(tapCount)
        }
    }

    ColumnLayout {
        anchors { fill: parent; margins: 20 }
        spacing: 12

        RowLayout {
            spacing: 12
            Caption {
                text: "Pair type"
                font.bold: true
                Layout.fillWidth: false
            }
            Row {
                Repeater {
                    model: [{ label: "Direct", value: "P2P" }, { label: "Through WiFi", value: "JOIN" }]
                    delegate: Rectangle {
                        required property var modelData
                        required property int index
                        readonly property bool chosen: veltro.pairType === modelData.value
                        width: 130
                        height: 32
                        color: chosen ? view.accentColor : "#2b323c"
                        border.color: chosen ? view.accentColor : "#6b7785"
                        radius: 4

                        Text {
                            anchors.centerIn: parent
                            text: modelData.label
                            color: chosen ? "#101316" : view.textColor
                            font.pixelSize: 14
                            font.bold: chosen
                        }
                        TapHandler { onTapped: veltro.pairType = modelData.value }
                    }
                }
            }
        }

        GridLayout {
            visible: veltro.pairType === "JOIN"
            columns: 2
            columnSpacing: 10
            rowSpacing: 8
            Layout.fillWidth: true

            Caption { text: "WiFi SSID:"; Layout.fillWidth: false }
            Field {
                text: veltro.wifi_ssid
                onTextEdited: veltro.wifi_ssid = text
            }
            Caption { text: "WiFi Password:"; Layout.fillWidth: false }
            Field {
                text: veltro.wifi_password
                onTextEdited: veltro.wifi_password = text
            }
        }

        DeviceSection {
            Caption {
                text: veltro.isDongleConnected ? "Connected Dongle"
                                               : "Please make sure Dongle is connected."
                font.bold: veltro.isDongleConnected
                color: veltro.isDongleConnected ? view.textColor : view.dimColor
            }
            Caption {
                visible: veltro.isDongleConnected
                text: "Serial #: " + view.unquoted(veltro.dongleSN)
            }
            Caption {
                visible: veltro.isDongleConnected
                text: "Paired Camera: " + view.unquoted(veltro.pairedCamera)
                color: view.dimColor
            }
            Caption {
                visible: veltro.isDongleConnected
                text: "WiFi SSID: " + view.unquoted(veltro.pairedSsid)
                color: view.dimColor
            }
            Caption {
                visible: veltro.isDongleConnected
                text: "Password: " + view.unquoted(veltro.pairedPassword)
                color: view.dimColor
            }
            Caption {
                visible: veltro.isAdmin && veltro.isDongleConnected
                text: veltro.dongleSettingsText
                font.family: "monospace"
                font.pixelSize: 12
                color: view.dimColor
            }
        }

        DeviceSection {
            Caption {
                text: veltro.isCameraConnected ? "Connected Camera"
                                               : "Please make sure Camera is connected."
                font.bold: veltro.isCameraConnected
                color: veltro.isCameraConnected ? view.textColor : view.dimColor
            }
            Caption {
                visible: veltro.isCameraConnected
                text: "Serial #: " + veltro.cameraSN
            }
            Caption {
                visible: veltro.isAdmin && veltro.isCameraConnected
                text: veltro.cameraSettingsText
                font.family: "monospace"
                font.pixelSize: 12
                color: view.dimColor
            }
        }

        Caption {
            objectName: "waiting"
            visible: text.length > 0
            text: veltro.waitingFor
            color: view.dimColor
        }

        Caption {
            objectName: "status"
            visible: text.length > 0
            text: veltro.statusText
            color: veltro.statusIsError ? view.errorColor : view.okColor
        }

        Item { Layout.fillHeight: true }

        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: 10
            ActionButton {
                text: "Pair"
                primary: true
                objectName: "pair"
                enabled: veltro.canPair
                onClicked: veltro.writeSettings()
            }
            ActionButton {
                text: "Cancel"
                onClicked: veltro.cancel()
            }
        }
    }
}
