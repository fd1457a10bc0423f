// OptionsRecord: the fixed byte layout of the settings record. Every field is
// written at its own offset so the layout never depends on the compiler's
// padding or the machine's byte order.
#include "app/engine/OptionsRecord.h"

#include <type_traits>

namespace velloran {

namespace {

class Writer {
public:
    explicit Writer(OptionsRecord::Bytes& bytes) : m_bytes(bytes) {}
    void Put(uint64_t value, size_t width)
    {
        for (size_t i = 0; i < width; ++i)
            m_bytes[m_pos++] = static_cast<uint8_t>(value >> (8 * i));
    }
    void U32(uint32_t v) { Put(v, 4); }
    void I32(int32_t v) { Put(static_cast<uint32_t>(v), 4); }
    void I64(int64_t v) { Put(static_cast<uint64_t>(v), 8); }
    void I16(int16_t v) { Put(static_cast<uint16_t>(v), 2); }
    void Bool(bool v) { I16(v ? -1 : 0); }

private:
    OptionsRecord::Bytes& m_bytes;
    size_t m_pos = 0;
};

class Reader {
public:
    explicit Reader(const uint8_t* bytes) : m_bytes(bytes) {}
    uint64_t Get(size_t width)
    {
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i)
            value |= static_cast<uint64_t>(m_bytes[m_pos++]) << (8 * i);
        return value;
    }
    uint32_t U32() { return static_cast<uint32_t>(Get(4)); }
    int32_t I32() { return static_cast<int32_t>(static_cast<uint32_t>(Get(4))); }
    int64_t I64() { return static_cast<int64_t>(Get(8)); }
    int16_t I16() { return static_cast<int16_t>(static_cast<uint16_t>(Get(2))); }
    bool Bool() { return I16() != 0; }

private:
    const uint8_t* m_bytes;
    size_t m_pos = 0;
};

// One field list for both directions keeps reading and writing in step.
template <typename Io, typename Record>
void Fields(Io& io, Record& r)
{
    for (auto& colour : r.CustomColors)
        io(colour);
    io(r.BackgroundColor);
    io(r.TextColor);
    io(r.HotColor);
    io(r.ConsoleFontSize);
    io(r.OthFontSize);
    io(r.ConsoleFontWeight);
    io(r.OthFontWeight);
    io(r.ErrorAction);
    io(r.SnapDistance);
    io(r.FTPTolerance);
    io(r.RecentCount);
    io(r.ShowInTray);
    io(r.HideFromTaskbar);
    io(r.ConsoleFontItalic);
    io(r.OthFontItalic);
    io(r.ConsoleFontCharset);
    io(r.OthFontCharset);
    io(r.ShowOneSidedDetails);
    io(r.LeftTimeOffset);
    io(r.UseEasyMove);
    io(r.SnapToEdges);
    io(r.OnTop);
    io(r.FilterDotFiles);
    io(r.Reserved);
    io(r.IgnoreNewerOnServer);
    io(r.AssociateScripts);
    io(r.ProcessPriority);
    io(r.ThreadPriority);
    io(r.SaveOnExit);
}

}  // namespace

OptionsRecord::Bytes OptionsRecord::ToBytes() const
{
    Bytes bytes{};
    Writer writer(bytes);
    auto put = [&writer](const auto& field) {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, bool>)
            writer.Bool(field);
        else if constexpr (std::is_same_v<T, uint32_t>)
            writer.U32(field);
        else if constexpr (std::is_same_v<T, int32_t>)
            writer.I32(field);
        else if constexpr (std::is_same_v<T, int64_t>)
            writer.I64(field);
        else
            writer.I16(field);
    };
    Fields(put, *this);
    return bytes;
}

bool OptionsRecord::FromBytes(const uint8_t* bytes, size_t length)
{
    if (bytes == nullptr || length != kSize)
        return false;
    Reader reader(bytes);
    auto get = [&reader](auto& field) {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, bool>)
            field = reader.Bool();
        else if constexpr (std::is_same_v<T, uint32_t>)
            field = reader.U32();
        else if constexpr (std::is_same_v<T, int32_t>)
            field = reader.I32();
        else if constexpr (std::is_same_v<T, int64_t>)
            field = reader.I64();
        else
            field = reader.I16();
    };
    Fields(get, *this);
    return true;
}

}  // namespace velloran
