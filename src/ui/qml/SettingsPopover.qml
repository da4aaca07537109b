import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import PeloraDravin

// The settings: version and update state, where captures are saved, the devices, the
// resolution, offline mode, the wireless camera and the virtual camera.
PopoverPanel {
    id: settings

    required property ControlBarModel model
    signal updateRequested()

    readonly property color labelColor: "#9aa7b4"
    readonly property color textColor: "#e8edf2"

    x: parent ? parent.width - width : 0

    GridLayout {
        columns: 2
        columnSpacing: 14
        rowSpacing: 10

        Label { text: "Version:"; color: settings.labelColor }
        Label {
            text: settings.model.appVersion + " (" + settings.model.buildVersion + ")"
            color: settings.textColor
        }

        // Only what a finished check found; a build without an update check says nothing here.
        Item {
            visible: updateRow.visible
            implicitWidth: 1
            implicitHeight: 1
        }
        RowLayout {
            id: updateRow
            visible: settings.model.updateStatusText !== ""
            spacing: 10
            Label {
                objectName: "updateStatus"
                text: (settings.model.updateAvailable ? "\u2739 " : settings.model.upToDate ? "\u2714\ufe0e " : "")
                      + settings.model.updateStatusText
                color: settings.model.updateAvailable ? "#ff5a52"
                     : settings.model.upToDate ? "#48c774" : settings.labelColor
                font.bold: settings.model.updateAvailable || settings.model.upToDate
            }
            Button {
                visible: settings.model.updateAvailable
                text: "Update"
                onClicked: settings.updateRequested()
            }
        }

        // Conference programs see this window as a camera once the loopback device exists. Kept
        // above the divider: the panel grows upward, so the rows below stay where they were.
        Label { text: "Virtual Camera:"; color: settings.labelColor; Layout.alignment: Qt.AlignTop }
        ColumnLayout {
            id: virtualCameraRow
            readonly property var setup: typeof app === "undefined" || !app ? null : app.virtualCamera
            spacing: 6
            Label {
                objectName: "virtualCameraStatus"
                Layout.preferredWidth: 300
                wrapMode: Text.WordWrap
                text: virtualCameraRow.setup ? virtualCameraRow.setup.status : ""
                color: virtualCameraRow.setup && virtualCameraRow.setup.ready ? "#48c774" : settings.textColor
            }
            Button {
                objectName: "virtualCameraSetUp"
                visible: virtualCameraRow.setup !== null && !virtualCameraRow.setup.ready
                enabled: virtualCameraRow.setup !== null && !virtualCameraRow.setup.busy
                text: "Set Up Virtual Camera"
                onClicked: virtualCameraRow.setup.setUp()
            }
            Label {
                objectName: "virtualCameraAdminHint"
                visible: virtualCameraRow.setup !== null && !virtualCameraRow.setup.ready
                Layout.preferredWidth: 300
                wrapMode: Text.WordWrap
                font.pixelSize: 11
                text: virtualCameraRow.setup ? virtualCameraRow.setup.adminHint : ""
                color: settings.labelColor
            }
        }

        Rectangle { Layout.columnSpan: 2; Layout.fillWidth: true; height: 1; color: "#2b323c" }

        Label { text: "Save Location:"; color: settings.labelColor }
        RowLayout {
            spacing: 10
            Label {
                Layout.preferredWidth: 230
                text: settings.model.saveLocation === "" ? "Not chosen yet" : settings.model.saveLocation
                color: settings.model.saveLocation === "" ? "#ff5a52" : settings.textColor
                elide: Text.ElideMiddle
            }
            Button {
                text: "Change\u2026"
                onClicked: settings.model.changeArchive()
            }
        }

        Label { text: "Main Camera:"; color: settings.labelColor }
        ComboBox {
            Layout.fillWidth: true
            model: settings.model.cameraNames
            currentIndex: settings.model.selectedCameraIndex
            onActivated: index => settings.model.selectedCameraIndex = index
        }

        Label { text: "Aux Camera:"; color: settings.labelColor }
        ComboBox {
            Layout.fillWidth: true
            model: settings.model.cameraNames
            currentIndex: settings.model.selectedPipCameraIndex
            displayText: settings.model.allowPIP ? currentText : "None"
            onActivated: index => settings.model.selectedPipCameraIndex = index
        }

        Label { text: "Microphone:"; color: settings.labelColor }
        ComboBox {
            Layout.fillWidth: true
            model: settings.model.micNames
            currentIndex: settings.model.selectedMicIndex
            onActivated: index => settings.model.selectedMicIndex = index
        }

        Label { text: "Resolution:"; color: settings.labelColor }
        ComboBox {
            Layout.fillWidth: true
            model: settings.model.resolutions
            currentIndex: settings.model.resolutions.indexOf(settings.model.selectedResolution)
            onActivated: index => settings.model.selectedResolution = settings.model.resolutions[index]
        }

        // What the camera really runs, so a setting it cannot give is not shown as given.
        Label { text: "Active Mode:"; color: settings.labelColor }
        Label {
            Layout.fillWidth: true
            Layout.maximumWidth: 320
            wrapMode: Text.Wrap
            text: settings.model.camera && settings.model.camera.cameraMode !== ""
                  ? settings.model.camera.cameraMode : "No camera running"
            color: settings.labelColor
        }

        Label { text: "Offline Mode:"; color: settings.labelColor }
        Switch {
            id: offline
            checked: settings.model.offlineMode
            onToggled: settings.model.offlineMode = checked
            indicator: Rectangle {
                x: offline.leftPadding
                y: (offline.height - height) / 2
                implicitWidth: 44
                implicitHeight: 24
                radius: 12
                color: offline.checked ? "#4fb3e8" : "#3a434d"
                border.color: offline.checked ? "#4fb3e8" : "#56616e"
                Rectangle {
                    x: offline.checked ? parent.width - width - 3 : 3
                    y: 3
                    width: 18
                    height: 18
                    radius: 9
                    color: "#f4f8fb"
                    Behavior on x { NumberAnimation { duration: 120 } }
                }
            }
        }

        Rectangle { Layout.columnSpan: 2; Layout.fillWidth: true; height: 1; color: "#2b323c" }

        Label { text: "Veltro Camera:"; color: settings.labelColor }
        Button {
            text: "Wireless Configuration\u2026"
            onClicked: settings.model.openWirelessConfig()
        }
    }
}
