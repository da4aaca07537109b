#include "json_value.h"

namespace dravin {

JsonValue JsonValue::array(const QList<JsonValue>& elements) {
  nlohmann::json value = nlohmann::json::array();
  for (const JsonValue& element : elements) value.push_back(element.value_);
  return JsonValue(std::move(value));
}

JsonValue JsonValue::object(std::initializer_list<std::pair<const char*, JsonValue>> members) {
  nlohmann::json value = nlohmann::json::object();
  for (const auto& [key, member] : members) value[key] = member.value_;
  return JsonValue(std::move(value));
}

JsonValue JsonValue::parse(const QByteArray& bytes) {
  try {
    return JsonValue(nlohmann::json::parse(bytes.begin(), bytes.end()));
  } catch (const nlohmann::json::exception& e) {
    throw JsonError(e.what());
  }
}

QByteArray JsonValue::serialize() const {
  try {
    return QByteArray::fromStdString(value_.dump());
  } catch (const nlohmann::json::exception& e) {
    throw JsonError(e.what());
  }
}

JsonValue JsonValue::operator[](const char* key) const {
  if (!value_.is_object()) return {};
  auto member = value_.find(key);
  return member == value_.end() ? JsonValue() : JsonValue(*member);
}

QString JsonValue::string() const {
  return value_.is_string() ? QString::fromStdString(value_.get_ref<const std::string&>())
                            : QString();
}

QList<JsonValue> JsonValue::arrayValue() const {
  return optionalArray().value_or(QList<JsonValue>());
}

std::optional<QList<JsonValue>> JsonValue::optionalArray() const {
  if (!value_.is_array()) return std::nullopt;
  QList<JsonValue> elements;
  elements.reserve(static_cast<qsizetype>(value_.size()));
  for (const nlohmann::json& element : value_) elements.append(JsonValue(element));
  return elements;
}

}  // namespace dravin
