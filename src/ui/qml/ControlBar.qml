import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import PeloraDravin

// The toolbar along the bottom of the window: capture, viewers and settings, each popover above
// its button. The state lives in ControlBarModel; this file only lays it out.
Rectangle {
    id: bar

    readonly property alias model: barModel
    // "Files": the library panel shows or slides away.
    signal filesToggled()
    property alias camera: barModel.camera
    property alias settings: barModel.settings
    property alias updates: barModel.updates

    readonly property color textColor: "#e8edf2"
    readonly property color dimColor: "#9aa7b4"
    readonly property color redColor: "#ff5a52"
    readonly property color greenColor: "#48c774"

    implicitHeight: barModel.hideControlBar ? 22 : 76
    color: "#15191e"
    Behavior on implicitHeight { NumberAnimation { duration: 160; easing.type: Easing.OutQuad } }

    ControlBarModel { id: barModel }
    // The running camera's own controls; beside the maker's HID ones only where they add some.
    PictureControlsModel {
        id: focusControls
        camera: barModel.camera
        group: PictureControlsModel.Focus
        besideHid: barModel.allowHIDControl
    }
    PictureControlsModel {
        id: adjustControls
        camera: barModel.camera
        group: PictureControlsModel.Adjust
        besideHid: barModel.allowHIDControl
    }

    // Presses on the bar stay off the picture underneath.
    MouseArea { anchors.fill: parent }

    Rectangle {
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 1
        color: "#2b323c"
    }

    // Collapsed: a thin strip whose arrow brings the bar back.
    Image {
        visible: barModel.hideControlBar
        anchors.centerIn: parent
        width: 18
        height: 18
        sourceSize: Qt.size(36, 36)
        rotation: 180
        source: "qrc:/PeloraDravin/icons/toolbar_arrow_down.svg"
        MouseArea {
            anchors.fill: parent
            anchors.margins: -6
            cursorShape: Qt.PointingHandCursor
            onClicked: barModel.hideControlBar = false
        }
    }

    Item {
        id: content
        anchors.fill: parent
        anchors.topMargin: 1
        visible: !barModel.hideControlBar

        // Files and drawing.
        Row {
            id: leftGroup
            anchors { left: parent.left; leftMargin: 12; verticalCenter: parent.verticalCenter }
            spacing: 4

            ToolbarButton {
                icon: "toolbar_folder"
                text: "Files"
                onClicked: bar.filesToggled()
            }
            ToolbarButton {
                icon: "toolbar_openfile"
                text: "Open File"
                onClicked: barModel.openFiles()
            }
            ToolbarButton {
                icon: barModel.enableAnnotation ? "toolbar_freehand_on" : "toolbar_freehand"
                text: "Annotate"
                highlighted: barModel.enableAnnotation
                onClicked: barModel.toggleAnnotation()
            }
            ToolbarButton {
                id: viewerButton
                icon: "toolbar_browsers"
                text: "Browsers"
                highlighted: barModel.showPopoverViewer
                onClicked: barModel.togglePopover(ControlBarModel.Viewer)

                PopoverPanel {
                    shown: barModel.showPopoverViewer
                    onDismissed: barModel.closePopover()
                    Row {
                        spacing: 6
                        ToolbarButton {
                            icon: "toolbar_browser"
                            text: "Browser"
                            onClicked: barModel.openBrowser()
                        }
                        ToolbarButton {
                            icon: "toolbar_viewer_tunnel"
                            text: "Relayo"
                            onClicked: barModel.openTunnelList()
                        }
                        ToolbarButton {
                            icon: "toolbar_viewer_doccam"
                            text: "Doc Camera"
                            enabled: barModel.allowDocCam
                            onClicked: barModel.openDocCamera()
                        }
                        ToolbarButton {
                            icon: "toolbar_pip"
                            text: "PiP Camera"
                            enabled: barModel.allowPIP
                            onClicked: barModel.openPipCamera()
                        }
                        ToolbarButton {
                            icon: "toolbar_lessons"
                            text: "Lessons"
                            onClicked: barModel.openLessons()
                        }
                        ToolbarButton {
                            icon: "toolbar_openfile"
                            text: "PDF"
                            onClicked: {
                                barModel.closePopover()
                                pdfChooser.open()
                            }
                        }
                    }
                }
            }
        }

        // The picture: zoom, freeze, record, snapshot and the last capture.
        Row {
            id: centreGroup
            anchors { horizontalCenter: parent.horizontalCenter; verticalCenter: parent.verticalCenter }
            spacing: 4

            ToolbarButton {
                id: zoomButton
                icon: "toolbar_zoom"
                text: "Zoom"
                highlighted: barModel.showPopoverZoom
                onClicked: barModel.togglePopover(ControlBarModel.Zoom)

                PopoverPanel {
                    shown: barModel.showPopoverZoom
                    onDismissed: barModel.closePopover()
                    RowLayout {
                        spacing: 8
                        ToolbarButton {
                            icon: "toolbar_zoom_out"
                            text: "Out"
                            onClicked: barModel.zoomOut()
                        }
                        Slider {
                            id: zoomSlider
                            Layout.preferredWidth: 260
                            from: 0.5
                            to: 10.0
                            value: barModel.zoomFactor
                            onMoved: barModel.setZoom(value)
                        }
                        ToolbarButton {
                            icon: "toolbar_zoom_in"
                            text: "In"
                            onClicked: barModel.zoomIn()
                        }
                        Text {
                            Layout.preferredWidth: 44
                            text: barModel.zoomFactor.toFixed(1) + "\u00d7"
                            color: bar.textColor
                            font.pixelSize: 14
                            horizontalAlignment: Text.AlignRight
                        }
                    }
                }
            }
            ToolbarButton {
                icon: barModel.isFreezing ? "toolbar_resume" : "toolbar_freeze"
                text: barModel.isFreezing ? "Resume" : "Pause"
                captionColor: barModel.isFreezing ? bar.redColor : "#c9d3dd"
                onClicked: barModel.toggleFreeze()
            }
            ToolbarButton {
                id: recordButton
                icon: barModel.isRecording ? "toolbar_stop_recording" : "toolbar_record"
                text: "Record"
                captionColor: barModel.isRecording ? bar.redColor : "#c9d3dd"
                highlighted: barModel.showPopoverRecord
                onClicked: barModel.recordButton()

                PopoverPanel {
                    shown: barModel.showPopoverRecord
                    onDismissed: barModel.closePopover()
                    Column {
                        spacing: 10
                        Row {
                            anchors.horizontalCenter: parent.horizontalCenter
                            spacing: 8
                            ToolbarButton {
                                icon: "toolbar_record_camera"
                                text: "Camera Only"
                                onClicked: barModel.recordCamera()
                            }
                            ToolbarButton {
                                icon: "toolbar_record_screen"
                                text: "Screen"
                                onClicked: barModel.recordScreen()
                            }
                        }
                        Text {
                            width: 240
                            text: "Screen records the whole desktop. Press Stop in this bar to finish."
                            wrapMode: Text.WordWrap
                            horizontalAlignment: Text.AlignHCenter
                            color: bar.dimColor
                            font.pixelSize: 12
                        }
                    }
                }
            }
            ToolbarButton {
                icon: "toolbar_snapshot"
                text: "Snapshot"
                onClicked: barModel.snapshot()
            }
        }

        // Beside the capture buttons, which stay in place as these come and go.
        Row {
            anchors { left: centreGroup.right; leftMargin: 10; verticalCenter: parent.verticalCenter }
            spacing: 10

            // The recording's running time, while it runs.
            Rectangle {
                visible: barModel.isRecording
                anchors.verticalCenter: parent.verticalCenter
                width: timerText.implicitWidth + 20
                height: 26
                radius: 13
                color: "#3a1d1f"
                border.color: bar.redColor
                Text {
                    id: timerText
                    anchors.centerIn: parent
                    text: barModel.recordingTimerStr
                    color: bar.redColor
                    font.pixelSize: 13
                    font.bold: true
                    font.family: "monospace"
                }
            }
            // The last snapshot or recording; a click shows it beside the live picture.
            Rectangle {
                visible: barModel.hasThumbnail
                anchors.verticalCenter: parent.verticalCenter
                width: 80
                height: 52
                radius: 6
                color: "#242a31"
                border.color: thumbMouse.containsMouse ? "#4fb3e8" : "#3a434d"
                border.width: thumbMouse.containsMouse ? 2 : 1
                clip: true

                Image {
                    anchors.fill: parent
                    anchors.margins: 2
                    fillMode: Image.PreserveAspectCrop
                    source: barModel.thumbnailSource
                    visible: barModel.thumbnailSource !== ""
                }
                Image {
                    anchors.centerIn: parent
                    width: 24
                    height: 24
                    sourceSize: Qt.size(48, 48)
                    source: "qrc:/PeloraDravin/icons/toolbar_record_camera.svg"
                    visible: barModel.thumbnailSource === ""
                }
                MouseArea {
                    id: thumbMouse
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: barModel.openThumbnail()
                }
            }
        }

        // The picture's view, the camera's controls and the settings.
        Row {
            id: rightGroup
            anchors { right: parent.right; rightMargin: 8; verticalCenter: parent.verticalCenter }
            spacing: 4

            ToolbarButton {
                icon: "toolbar_view_option"
                text: "View Option"
                highlighted: barModel.showPopoverViewOption
                onClicked: barModel.togglePopover(ControlBarModel.ViewOption)

                PopoverPanel {
                    shown: barModel.showPopoverViewOption
                    onDismissed: barModel.closePopover()
                    Row {
                        spacing: 6
                        ToolbarButton {
                            icon: "toolbar_rotate_left"
                            text: "Rotate Left"
                            onClicked: barModel.rotate("left")
                        }
                        ToolbarButton {
                            icon: "toolbar_rotate_right"
                            text: "Rotate Right"
                            onClicked: barModel.rotate("right")
                        }
                        ToolbarButton {
                            icon: "toolbar_camera_mirror"
                            text: "Mirror"
                            onClicked: barModel.mirror()
                        }
                        ToolbarButton {
                            icon: "toolbar_full_screen"
                            text: "Full Screen"
                            onClicked: bar.toggleFullScreen()
                        }
                    }
                }
            }
            ToolbarButton {
                icon: "toolbar_focus"
                text: "Focus"
                enabled: barModel.allowHIDControl || focusControls.count > 0
                highlighted: barModel.showPopoverFocus
                onClicked: barModel.togglePopover(ControlBarModel.Focus)

                PopoverPanel {
                    shown: barModel.showPopoverFocus
                    onDismissed: barModel.closePopover()
                    ColumnLayout {
                        spacing: 10
                        RowLayout {
                            visible: barModel.allowHIDControl
                            spacing: 8
                            Layout.alignment: Qt.AlignHCenter
                            ToolbarButton {
                                icon: "toolbar_focus_af"
                                text: "Auto Focus"
                                onClicked: barModel.focusAuto()
                            }
                            ToolbarButton {
                                icon: "toolbar_focus_afl"
                                text: "Focus Lock"
                                onClicked: barModel.focusLock()
                            }
                        }
                        ControlSlider {
                            visible: barModel.allowHIDControl
                            icon: "toolbar_focus"
                            caption: "Focus"
                            from: 0
                            to: 255
                            value: barModel.focusFactor
                            onMoved: v => barModel.focusFactor = v
                        }
                        Repeater {
                            model: focusControls
                            CameraControlRow {
                                onChanged: (name, value) => focusControls.set(name, value)
                            }
                        }
                        Text {
                            visible: focusControls.error !== ""
                            Layout.maximumWidth: 480
                            wrapMode: Text.Wrap
                            text: focusControls.error
                            color: bar.redColor
                            font.pixelSize: 13
                        }
                    }
                }
            }
            ToolbarButton {
                icon: "toolbar_adjust"
                text: "Adjust"
                enabled: barModel.allowHIDControl || adjustControls.count > 0
                highlighted: barModel.showPopoverAdjust
                onClicked: barModel.togglePopover(ControlBarModel.Adjust)

                PopoverPanel {
                    shown: barModel.showPopoverAdjust
                    onDismissed: barModel.closePopover()
                    ColumnLayout {
                        spacing: 4
                        ColumnLayout {
                        visible: barModel.allowHIDControl
                        spacing: 4
                        ControlSlider {
                            icon: "toolbar_brightness"
                            caption: "Brightness"
                            from: -127
                            to: 128
                            value: barModel.brightnessFactor
                            onMoved: v => barModel.brightnessFactor = v
                        }
                        ControlSlider {
                            icon: "toolbar_contrast"
                            caption: "Contrast"
                            from: 0
                            to: 255
                            value: barModel.contrastFactor
                            onMoved: v => barModel.contrastFactor = v
                        }
                        ControlSlider {
                            icon: "toolbar_saturation"
                            caption: "Saturation"
                            from: 0
                            to: 255
                            value: barModel.saturationFactor
                            onMoved: v => barModel.saturationFactor = v
                        }
                        ControlSlider {
                            icon: "toolbar_sharpness"
                            caption: "Sharpness"
                            from: 0
                            to: 255
                            value: barModel.sharpnessFactor
                            onMoved: v => barModel.sharpnessFactor = v
                        }
                        ControlSlider {
                            icon: "toolbar_exposure"
                            caption: "Exposure"
                            from: -512
                            to: 3072
                            value: barModel.exposureFactor
                            onMoved: v => barModel.exposureFactor = v
                        }
                        ControlSlider {
                            icon: "toolbar_whitebalance"
                            caption: "Whitebalance"
                            from: 2300
                            to: 8500
                            value: barModel.whitebalanceFactor
                            onMoved: v => barModel.whitebalanceFactor = v
                        }
                        }
                        Repeater {
                            model: adjustControls
                            CameraControlRow {
                                onChanged: (name, value) => adjustControls.set(name, value)
                            }
                        }
                        Text {
                            visible: adjustControls.error !== ""
                            Layout.maximumWidth: 480
                            wrapMode: Text.Wrap
                            text: adjustControls.error
                            color: bar.redColor
                            font.pixelSize: 13
                        }
                        Button {
                            Layout.alignment: Qt.AlignRight
                            Layout.topMargin: 6
                            text: "Reset to default"
                            onClicked: {
                                if (barModel.allowHIDControl)
                                    barModel.resetPictureControls();
                                adjustControls.resetToDefaults();
                                focusControls.refresh();
                            }
                        }
                    }
                }
            }
            ToolbarButton {
                icon: "toolbar_settings"
                text: "Settings"
                badge: barModel.updateAvailable
                highlighted: barModel.showPopoverSettings
                onClicked: barModel.togglePopover(ControlBarModel.Settings)

                SettingsPopover {
                    shown: barModel.showPopoverSettings
                    onDismissed: barModel.closePopover()
                    model: barModel
                    onUpdateRequested: updateDialog.open()
                }
            }
            ToolbarButton {
                icon: "toolbar_arrow_down"
                text: "Hide"
                onClicked: barModel.hideControlBar = true
            }
        }
    }

    Dialog {
        id: updateDialog
        parent: Overlay.overlay
        anchors.centerIn: parent
        modal: true
        title: "Update Software"
        width: 420
        Label {
            width: parent.width
            wrapMode: Text.WordWrap
            text: "Do you want to download and install the new version? "
                  + Qt.application.displayName + " will be closed after downloading."
        }
        footer: DialogButtonBox {
            Button {
                text: "Continue"
                DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
            }
            Button {
                text: "Cancel"
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            }
        }
        onAccepted: barModel.update()
    }

    function toggleFullScreen() {
        const window = bar.Window.window
        if (!window) return
        if (window.visibility === Window.FullScreen) window.showNormal()
        else window.showFullScreen()
    }

    // Keys a presenter reaches for. Letters stay with a text field that has the focus, and with
    // a text box on the board, which the board's page reports (its keys reach us too).
    readonly property bool boardTyping: typeof boardBridge !== "undefined" && boardBridge.textEditing
    readonly property bool typing: boardTyping || (Window.activeFocusItem !== null
                                   && Window.activeFocusItem.hasOwnProperty("cursorPosition"))
    Shortcut {
        sequence: "Space"
        enabled: !bar.typing
        onActivated: barModel.toggleFreeze()
    }
    Shortcut {
        sequence: "S"
        enabled: !bar.typing
        onActivated: barModel.snapshot()
    }
    Shortcut {
        sequence: "R"
        enabled: !bar.typing
        onActivated: barModel.isRecording ? barModel.stopRecording() : barModel.recordCamera()
    }
    Shortcut {
        sequence: "Escape"
        enabled: !bar.boardTyping
        onActivated: {
            if (barModel.showPopoverZoom || barModel.showPopoverViewOption || barModel.showPopoverFocus
                    || barModel.showPopoverAdjust || barModel.showPopoverSettings
                    || barModel.showPopoverRecord || barModel.showPopoverViewer)
                barModel.closePopover()
            else if (barModel.isRecording)
                barModel.stopRecording()
        }
    }
    Shortcut {
        sequences: ["+", "=", "Ctrl++", "Ctrl+="]
        enabled: !bar.typing
        onActivated: barModel.zoomIn()
    }
    Shortcut {
        sequences: ["-", "Ctrl+-"]
        enabled: !bar.typing
        onActivated: barModel.zoomOut()
    }
    Shortcut {
        sequence: "F11"
        onActivated: bar.toggleFullScreen()
    }

    FileDialog {
        id: pdfChooser
        title: "Choose a PDF file"
        nameFilters: ["PDF files (*.pdf *.PDF)"]
        onAccepted: barModel.openPdf(selectedFile)
    }
}
