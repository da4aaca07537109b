#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "deck_converter.h"

namespace dravin {

class SerialQueue;

// Turns slide decks into folders of slide pictures in the library, one deck at a time, off the
// main thread. Each deck is converted into a hidden folder beside its target and moved into place
// only when complete, so a failed or cancelled import leaves an earlier import of the same deck
// as it was. Signals arrive on the main thread.
class DeckImport : public QObject {
  Q_OBJECT
 public:
  using Converter = std::function<std::optional<QString>(
      const DeckConversion&, const std::function<void(int, int)>&, const std::atomic<bool>&)>;

  explicit DeckImport(Converter converter = convertDeck, QObject* parent = nullptr);
  ~DeckImport() override;  // cancels what is pending and waits for it

  // Queues `deck` to become the folder `targetFolder`.
  void start(const QString& deck, const QString& targetFolder);
  // Stops the running conversion and drops the queued ones.
  void cancelAll();
  bool isActive() const { return pending_ > 0; }

 signals:
  void activeChanged(bool active);
  // `deckName` is the deck's name; `total` is 0 while the deck is still being converted.
  void progressChanged(const QString& deckName, int done, int total);
  void imported(const QString& targetFolder);
  void failed(const QString& deckName, const QString& error);

 private:
  void finishOne();

  Converter converter_;
  std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
  int pending_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::unique_ptr<SerialQueue> queue_;
};

// Converts `deck` into `targetFolder` through a sibling work folder, replacing the old folder only
// on success. Returns an error text, or nothing.
std::optional<QString> importDeckInto(const DeckImport::Converter& converter, const QString& deck,
                                      const QString& targetFolder,
                                      const std::function<void(int, int)>& progress,
                                      const std::atomic<bool>& cancel);

}  // namespace dravin
