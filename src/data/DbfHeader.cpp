#include "data/DbfHeader.h"

#include "base/AppError.h"

#include <set>

namespace {

std::uint32_t u32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

AppError damaged(const std::string& fileName, const std::string& what) {
    return AppError("O arquivo " + fileName + " não é uma tabela dBase válida: " + what + ".");
}

} // namespace

std::uint16_t DbfHeader::declaredLength(const std::string& first32, const std::string& fileName) {
    if (first32.size() < 32)
        throw damaged(fileName, "o cabeçalho está incompleto");
    return u16(first32, 8);
}

DbfHeader DbfHeader::parse(const std::string& b, const std::string& fileName) {
    if (b.size() < 32)
        throw damaged(fileName, "o cabeçalho está incompleto");
    DbfHeader h;
    h.version = static_cast<unsigned char>(b[0]);
    if (h.version != VersionPlain && h.version != VersionMemo)
        throw damaged(fileName, "versão de arquivo " + std::to_string(h.version) + " desconhecida (só dBase III)");
    h.year = 1900 + static_cast<unsigned char>(b[1]);
    h.month = static_cast<unsigned char>(b[2]);
    h.day = static_cast<unsigned char>(b[3]);
    h.recordCount = u32(b, 4);
    h.headerLength = u16(b, 8);
    h.recordLength = u16(b, 10);
    h.languageDriver = static_cast<unsigned char>(b[29]);
    if (h.headerLength < 32 + 32 + 1 || h.headerLength > b.size())
        throw damaged(fileName, "o cabeçalho declara " + std::to_string(h.headerLength) + " bytes");
    unsigned offset = 1;
    std::set<std::string> names;
    std::size_t at = 32;
    for (; at + 32 <= h.headerLength && b[at] != '\x0D'; at += 32) {
        DbfField f;
        const std::string raw = b.substr(at, 11);
        f.name = raw.substr(0, raw.find('\0'));
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        f.type = b[at + 11];
        f.length = static_cast<unsigned char>(b[at + 16]);
        f.decimals = static_cast<unsigned char>(b[at + 17]);
        if (f.type == 'C') {
            // Character fields past 255 keep the high byte of their length where the decimals go.
            f.length += f.decimals * 256;
            f.decimals = 0;
        }
        if (f.name.empty() || f.length == 0)
            throw damaged(fileName, "a descrição de um campo está vazia");
        if (std::string("CNFDLM").find(f.type) == std::string::npos)
            throw damaged(fileName, "o campo " + f.name + " tem o tipo desconhecido '" + std::string(1, f.type) + "'");
        if (!names.insert(f.name).second)
            throw damaged(fileName, "o campo " + f.name + " aparece duas vezes");
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(f);
    }
    if (at >= h.headerLength || b[at] != '\x0D')
        throw damaged(fileName, "a lista de campos não termina");
    if (h.fields.empty())
        throw damaged(fileName, "não há campos");
    if (offset != h.recordLength)
        throw damaged(fileName, "os campos somam " + std::to_string(offset) + " bytes, o registro declara " +
                                    std::to_string(h.recordLength));
    return h;
}

DbfHeader DbfHeader::forFields(const std::vector<DbfField>& fields) {
    DbfHeader h;
    unsigned offset = 1;
    for (DbfField f : fields) {
        f.offset = offset;
        offset += f.length;
        if (f.type == 'M')
            h.version = VersionMemo;
        h.fields.push_back(f);
    }
    h.recordLength = static_cast<std::uint16_t>(offset);
    h.headerLength = static_cast<std::uint16_t>(32 + 32 * fields.size() + 1);
    return h;
}

std::string DbfHeader::dateBytes(int year, int month, int day) {
    std::string d(3, '\0');
    d[0] = static_cast<char>(year - 1900);
    d[1] = static_cast<char>(month);
    d[2] = static_cast<char>(day);
    return d;
}

std::string DbfHeader::serialize() const {
    std::string b(headerLength, '\0');
    b[0] = static_cast<char>(version);
    const std::string date = dateBytes(year, month, day);
    b.replace(1, 3, date);
    put32(b, 4, recordCount);
    put16(b, 8, headerLength);
    put16(b, 10, recordLength);
    b[29] = static_cast<char>(languageDriver);
    std::size_t at = 32;
    for (const DbfField& f : fields) {
        for (std::size_t i = 0; i < f.name.size() && i < 10; ++i)
            b[at + i] = f.name[i];
        b[at + 11] = f.type;
        if (f.type == 'C') {
            b[at + 16] = static_cast<char>(f.length & 0xFF);
            b[at + 17] = static_cast<char>(f.length >> 8);
        } else {
            b[at + 16] = static_cast<char>(f.length);
            b[at + 17] = static_cast<char>(f.decimals);
        }
        at += 32;
    }
    b[at] = '\x0D';
    return b;
}
