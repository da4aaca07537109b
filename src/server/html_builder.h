#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace dravin {

// Writes nested elements: one call per element, attributes as name="value".
class HtmlBuilder {
 public:
  using Attributes = std::vector<std::pair<std::string, std::string>>;

  HtmlBuilder& element(const std::string& name, const Attributes& attributes = {},
                       const std::function<void(HtmlBuilder&)>& inner = nullptr) {
    out_ += "<" + name;
    for (const auto& [key, value] : attributes) out_ += " " + key + "=\"" + value + "\"";
    out_ += ">";
    if (inner) inner(*this);
    out_ += "</" + name + ">";
    return *this;
  }
  HtmlBuilder& text(const std::string& content) {
    out_ += content;
    return *this;
  }
  const std::string& html() const { return out_; }

 private:
  std::string out_;
};

}  // namespace dravin
