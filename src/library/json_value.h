#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <utility>

namespace dravin {

// A failed parse or serialisation; what() is the library's own description.
class JsonError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The JSON value of the library's list files. Reading is forgiving: a missing member or a value
// of another kind reads as empty, so a record with a key left out still loads.
class JsonValue {
 public:
  JsonValue() = default;
  explicit JsonValue(nlohmann::json value) : value_(std::move(value)) {}
  JsonValue(const QString& text) : value_(text.toStdString()) {}  // NOLINT: a string is a value
  JsonValue(const char* text) : value_(text) {}                   // NOLINT
  static JsonValue array(const QList<JsonValue>& elements);
  static JsonValue object(std::initializer_list<std::pair<const char*, JsonValue>> members);

  static JsonValue parse(const QByteArray& bytes);  // throws JsonError
  QByteArray serialize() const;                     // throws JsonError (invalid UTF-8)

  bool isNull() const { return value_.is_null(); }
  JsonValue operator[](const char* key) const;
  QString string() const;
  QList<JsonValue> arrayValue() const;
  std::optional<QList<JsonValue>> optionalArray() const;

  const nlohmann::json& raw() const { return value_; }

 private:
  nlohmann::json value_;
};

}  // namespace dravin
