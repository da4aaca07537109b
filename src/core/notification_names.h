#pragma once

// The names the subsystems post and observe on the notification centre.
namespace dravin::notifications {
inline constexpr const char* kRotateCamera = "ROTATE_CAMERA";
inline constexpr const char* kMirrorCamera = "Mirror_CAMERA";
inline constexpr const char* kZoomedCamera = "Zoomed_CAMERA";
inline constexpr const char* kCameraListReady = "Camera_List_Ready";
inline constexpr const char* kOpenPipCamera = "OpenPIPCamera";
inline constexpr const char* kOpenDocCamera = "OpenDocCamera";
inline constexpr const char* kVideoRecorded = "VideoRecorded";
inline constexpr const char* kImageCaptured = "ImageCaptured";
inline constexpr const char* kCameraStarted = "CameraStarted";
inline constexpr const char* kChangeArchive = "ChangeArchive";
inline constexpr const char* kHidConnected = "HIDConnected";
inline constexpr const char* kHidDisconnected = "HIDDisconnected";
inline constexpr const char* kHidButtonClicked = "HIDButtonClicked";
inline constexpr const char* kOpenSideBySide = "OpenSideBySide";
inline constexpr const char* kOpenBrowser = "OpenBrowser";
inline constexpr const char* kHideArchiveList = "HideArchiveList";
inline constexpr const char* kOpenTunnelList = "OpenTunnelList";
inline constexpr const char* kOpenGifGenerator = "OpenGifGenerator";
inline constexpr const char* kOpenFiles = "OpenFiles";
inline constexpr const char* kOpenVeltroConfig = "OpenVeltroConfig";
inline constexpr const char* kShowLoadingDravinBoard = "showLoadingDravinBoard";
}  // namespace dravin::notifications
