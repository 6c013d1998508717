#include "store/TextAppender.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

std::optional<TextReader> TextReader::Open(const std::string& path) {
    TextReader reader;
    if (!reader.openRead(path)) return std::nullopt;
    return reader;
}

std::optional<TextAppender> TextAppender::Open(const std::string& path) {
    TextAppender appender;
    if (!appender.openAppend(path)) return std::nullopt;
    return appender;
}

std::optional<TextAppender> TextAppender::OpenElseCreate(const std::string& path) {
    TextAppender appender;
    if (!appender.openAppendElseRewrite(path)) return std::nullopt;
    return appender;
}

std::optional<TextRewriter> TextRewriter::Open(const std::string& path) {
    TextRewriter rewriter;
    if (!rewriter.openRewrite(path)) return std::nullopt;
    return rewriter;
}

// Unlike the other files, a rewrite is not completed by going out of scope:
// only an explicit commit replaces the old file.
TextRewriter::~TextRewriter() {
    discard();
}
