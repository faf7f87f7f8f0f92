#include "delimitedtext.h"

#include <cstring>

namespace postavo::transfer {

namespace {

// A UTF-8 character takes at most four bytes: this many raw bytes always hold the characters a
// record may use.
constexpr std::size_t kRawCap = kMaxLineCharacters * 4 + 4;
constexpr std::size_t kBufferSize = 1 << 20;

} // namespace

// ---------------------------------------------------------------- splitting

std::string_view classicFieldValue(std::string_view piece)
{
    if (!piece.empty() && piece.front() == '"' && piece.back() == '"')
        return piece.size() >= 2 ? piece.substr(1, piece.size() - 2) : std::string_view();
    return piece;
}

void splitClassicLine(std::string_view line, std::vector<std::string>& fields)
{
    // Commas inside quotes are protected: from the first double quote on, a quote whose
    // preceding character is not a quote toggles "inside"; a quote right after another one
    // toggles only while inside and only before a comma or the end of the line.
    std::size_t used = 0;
    auto push = [&](std::string_view piece) {
        const std::string_view v = classicFieldValue(piece);
        if (used < fields.size())
            fields[used].assign(v.data(), v.size());
        else
            fields.emplace_back(v);
        ++used;
    };
    const std::size_t n = line.size();
    const std::size_t firstQuote = line.find('"');
    bool inside = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = line[i];
        if (i >= firstQuote && c == '"') {
            if (i == 0 || line[i - 1] != '"')
                inside = !inside;
            else if (inside && (i + 1 == n || line[i + 1] == ','))
                inside = !inside;
        } else if (c == ',' && !inside) {
            push(line.substr(start, i - start));
            start = i + 1;
        }
    }
    push(line.substr(start));
    fields.resize(used);
}

void splitRfc4180Record(std::string_view record, std::vector<std::string>& fields)
{
    std::size_t used = 0;
    auto field = [&]() -> std::string& {
        if (used < fields.size())
            fields[used].clear();
        else
            fields.emplace_back();
        return fields[used++];
    };
    const std::size_t n = record.size();
    std::size_t i = 0;
    for (;;) {
        std::string& out = field();
        if (i < n && record[i] == '"') {
            ++i;
            for (;;) {
                const std::size_t q = record.find('"', i);
                if (q == std::string_view::npos) {  // no closing quote: the rest is the value
                    out.append(record.substr(i));
                    i = n;
                    break;
                }
                out.append(record.substr(i, q - i));
                if (q + 1 < n && record[q + 1] == '"') {
                    out += '"';
                    i = q + 2;
                    continue;
                }
                i = q + 1;
                break;
            }
            // Anything between the closing quote and the comma is kept as it stands.
            const std::size_t comma = record.find(',', i);
            out.append(record.substr(i, (comma == std::string_view::npos ? n : comma) - i));
            i = comma == std::string_view::npos ? n : comma;
        } else {
            const std::size_t comma = record.find(',', i);
            out.append(record.substr(i, (comma == std::string_view::npos ? n : comma) - i));
            i = comma == std::string_view::npos ? n : comma;
        }
        if (i >= n)
            break;
        ++i;  // the comma
    }
    fields.resize(used);
}

// ---------------------------------------------------------------- reading

bool TextRecordReader::open(const QString& path, TextEncoding encoding, bool rfc4180, QString* error)
{
    close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = file_.errorString();
        if (error)
            *error = error_;
        return false;
    }
    encoding_ = encoding == TextEncoding::Utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    rfc4180_ = rfc4180;
    buf_.resize(kBufferSize);
    if (!fill() && failed_) {
        if (error)
            *error = error_;
        return false;
    }
    if (end_ - pos_ >= 3 && std::memcmp(buf_.data() + pos_, "\xEF\xBB\xBF", 3) == 0)
        pos_ += 3;
    return true;
}

void TextRecordReader::close()
{
    file_.close();
    pos_ = end_ = 0;
    eof_ = failed_ = cut_ = overflow_ = false;
    records_ = 0;
    error_.clear();
    tally_.clear();
}

bool TextRecordReader::fill()
{
    if (eof_ || failed_)
        return false;
    if (pos_ < end_)
        std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    const qint64 got = file_.read(buf_.data() + end_, qint64(buf_.size() - end_));
    if (got < 0) {
        failed_ = true;
        error_ = file_.errorString();
        return false;
    }
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += std::size_t(got);
    return true;
}

bool TextRecordReader::readLine(bool keep)
{
    bool any = false;
    for (;;) {
        if (pos_ >= end_ && !fill())
            return any;
        any = true;
        const char* b = buf_.data();
        std::size_t i = pos_;
        const bool countQuotes = rfc4180_;
        while (i < end_) {
            const char c = b[i];
            if (c == '\n' || c == '\r')
                break;
            if (countQuotes && c == '"')
                ++quotes_;
            ++i;
        }
        if (keep) {
            const std::size_t room = raw_.size() < kRawCap ? kRawCap - raw_.size() : 0;
            const std::size_t take = std::min(room, i - pos_);
            raw_.append(b + pos_, take);
            if (take < i - pos_)
                overflow_ = true;
        }
        if (i == end_) {
            pos_ = end_;
            continue;  // the line goes on in the next piece
        }
        const char term = b[i];
        pos_ = i + 1;
        if (term == '\r') {
            if (pos_ >= end_)
                fill();
            if (pos_ < end_ && buf_[pos_] == '\n')
                ++pos_;
        }
        return true;
    }
}

TextRecordReader::Status TextRecordReader::next(std::string& record)
{
    record.clear();
    raw_.clear();
    overflow_ = false;
    cut_ = false;
    quotes_ = 0;
    if (!readLine(true))
        return failed_ ? Status::Failed : Status::End;
    // A quoted value left open goes on over the following lines.
    while (rfc4180_ && (quotes_ % 2) == 1) {
        if (raw_.size() < kRawCap)
            raw_ += '\n';
        else
            overflow_ = true;
        if (!readLine(true))
            break;
    }
    if (failed_)
        return Status::Failed;
    std::size_t used = 0;
    if (encoding_ == TextEncoding::Utf8) {
        used = utf8ToCp1252(raw_, record, &tally_, kMaxLineCharacters);
    } else {
        used = std::min(raw_.size(), kMaxLineCharacters);
        record.assign(raw_.data(), used);
    }
    cut_ = overflow_ || used < raw_.size();
    ++records_;
    return Status::Record;
}

TextRecordReader::Status TextRecordReader::skip()
{
    quotes_ = 0;
    cut_ = false;
    if (!readLine(false))
        return failed_ ? Status::Failed : Status::End;
    while (rfc4180_ && (quotes_ % 2) == 1)
        if (!readLine(false))
            break;
    if (failed_)
        return Status::Failed;
    ++records_;
    return Status::Record;
}

std::int64_t countTextRecords(const QString& path, bool rfc4180, QString* error)
{
    TextRecordReader r;
    if (!r.open(path, TextEncoding::Windows1252, rfc4180, error))
        return -1;
    for (;;) {
        switch (r.skip()) {
        case TextRecordReader::Status::Record: continue;
        case TextRecordReader::Status::End: return std::int64_t(r.records());
        case TextRecordReader::Status::Failed:
            if (error)
                *error = r.error();
            return -1;
        }
    }
}

} // namespace postavo::transfer
