#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// SHA-256 of a stream of bytes, in the lower-case hexadecimal that
// sha256sum prints.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const void* data, size_t size);
    void add(std::string_view text) { add(text.data(), text.size()); }
    // The digest of everything added; the object starts again afterwards.
    std::string hex();

    static std::string of(std::string_view bytes);

  private:
    struct Context;
    std::unique_ptr<Context> m_context;
};
