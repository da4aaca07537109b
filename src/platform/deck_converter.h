#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <optional>

namespace dravin {

// Slide decks (.ppt, .pptx, .key, and anything else LibreOffice Impress opens) become one PNG per
// slide: LibreOffice converts the deck to PDF, and each page is rendered to
// "<baseName>.001.png", "<baseName>.002.png", ... so ascending name order is slide order.
struct DeckConversion {
  QString deckPath;      // the deck to convert
  QString outputFolder;  // created when missing; receives the PNG files and nothing else
  QString baseName;      // the PNG names' stem, normally the deck's name without extension
  int slideWidth = 1920; // width of each PNG in pixels; height follows the page's aspect ratio
};

// Runs the conversion, blocking (call it off the main thread). `progress(done, total)` is called
// on the calling thread after each rendered slide (total is 0 while LibreOffice still converts).
// Setting `cancel` stops LibreOffice or the rendering within about 100 ms. Returns an error text
// for the user, or nothing on success. On failure or cancel, files already written to
// `outputFolder` are left for the caller, who converts into a temporary folder anyway.
std::optional<QString> convertDeck(const DeckConversion& job,
                                   const std::function<void(int done, int total)>& progress,
                                   const std::atomic<bool>& cancel);

}  // namespace dravin
