#pragma once

#include <QString>
#include <memory>

namespace dravin {

class AccessGuard;
class HttpServer;

// The widest picture of a PDF page the server draws, and the narrowest.
inline constexpr int kMaxPdfPageWidth = 4096;
inline constexpr int kMinPdfPageWidth = 16;
// The width drawn when the request names none.
inline constexpr int kDefaultPdfPageWidth = 1280;

// The board's routes into the asset folder, both behind `guard`'s key like "/files/" and open
// to any origin (the board is a file:// page):
//   GET /dravin-board/asset/<sha1>.<ext>          the file
//   GET /dravin-board/pdf/<sha1>/<n>?width=<W>    page n (1-based) of <sha1>.pdf as a PNG, W
//                                                 pixels wide (clamped), on white paper
// 400 for a malformed name, page or width, 404 for an asset the folder does not hold. Register
// them before the lesson routes. Throws std::invalid_argument without a guard.
void registerBoardAssetRoutes(HttpServer& server, const QString& assetFolder,
                              std::shared_ptr<AccessGuard> guard);

}  // namespace dravin
