#include "data/DbfCheck.h"

#include "base/AppError.h"
#include "data/ClipperLocks.h"
#include "data/DbfHeader.h"
#include "data/DbfTable.h"
#include "data/NtxIndex.h"
#include "data/SharedFile.h"

#include <map>
#include <memory>

namespace {

// Long lists are cut: the first faults of each kind tell what is wrong.
class Faults {
public:
    explicit Faults(std::vector<std::string>& out) : m_out(out) {}
    void add(const std::string& kind, const std::string& text) {
        if (++m_count[kind] <= Shown)
            m_out.push_back(text);
    }
    void summarize(const std::string& file) {
        for (const auto& [kind, n] : m_count)
            if (n > Shown)
                m_out.push_back(file + ": mais " + std::to_string(n - Shown) + " falhas do mesmo tipo (" + kind + ")");
        m_count.clear();
    }

private:
    static constexpr int Shown = 20;
    std::vector<std::string>& m_out;
    std::map<std::string, int> m_count;
};

std::string shown(const std::string& key) {
    std::string s;
    for (char c : key)
        s += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return "\"" + s + "\"";
}

} // namespace

std::vector<std::string> DbfCheck::run(const std::string& tablePath, const std::vector<std::string>& indexPaths,
                                       int lockTimeoutMs) {
    std::vector<std::string> out;
    Faults faults(out);
    SharedFile table;
    DbfHeader header;
    try {
        table.open(tablePath, false);
        std::string first(32, '\0');
        if (table.readSome(0, first.data(), 32) < 32)
            throw AppError("O arquivo " + tablePath + " não é uma tabela dBase válida: o cabeçalho está incompleto.");
        const std::uint16_t length = DbfHeader::declaredLength(first, tablePath);
        if (length > table.size())
            throw AppError("O arquivo " + tablePath + " não é uma tabela dBase válida: o cabeçalho está incompleto.");
        std::string bytes(length, '\0');
        table.readAt(0, bytes.data(), length);
        header = DbfHeader::parse(bytes, tablePath);
    } catch (const AppError& e) {
        out.push_back(e.what());
        return out;
    }
    const std::string name = table.name();

    std::vector<std::unique_ptr<NtxIndex>> indices;
    std::vector<SharedFile> guards;
    for (const std::string& p : indexPaths) {
        auto index = std::make_unique<NtxIndex>();
        try {
            index->open(p, header.fields, false, lockTimeoutMs);
            SharedFile guard;
            guard.open(p, false);
            guard.lock(ClipperLocks::Index, 1, false, lockTimeoutMs);
            guards.push_back(std::move(guard));
            indices.push_back(std::move(index));
        } catch (const AppError& e) {
            out.push_back(e.what());
        }
    }
    try {
        table.lock(ClipperLocks::Header, 1, false, lockTimeoutMs);
    } catch (const AppError& e) {
        out.push_back(e.what());
        return out;
    }

    // The records as the header counts them, as far as the file holds them.
    unsigned char countBytes[4];
    table.readAt(DbfHeader::CountOffset, countBytes, 4);
    const std::uint32_t count = static_cast<std::uint32_t>(countBytes[0]) | countBytes[1] << 8 | countBytes[2] << 16 |
                                static_cast<std::uint32_t>(countBytes[3]) << 24;
    const std::uint64_t size = table.size();
    const std::uint64_t body = size > header.headerLength ? size - header.headerLength : 0;
    const std::uint64_t room = body / header.recordLength;
    const std::uint64_t expected = header.headerLength + static_cast<std::uint64_t>(count) * header.recordLength;
    if (count > room)
        faults.add("tamanho", name + ": o cabeçalho indica " + std::to_string(count) +
                                  " registros, mas o arquivo só contém " + std::to_string(room));
    else if (size != expected && size != expected + 1)
        faults.add("tamanho", name + ": o arquivo tem " + std::to_string(size) + " bytes; para " +
                                  std::to_string(count) + " registros deveria ter " + std::to_string(expected) +
                                  " (ou mais um byte de fim)");
    const std::uint32_t readable = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, room));
    std::string records(static_cast<std::size_t>(readable) * header.recordLength, '\0');
    if (readable > 0)
        table.readAt(header.headerLength, records.data(), records.size());
    auto record = [&](std::uint32_t recno) {
        return records.substr(static_cast<std::size_t>(recno - 1) * header.recordLength, header.recordLength);
    };
    auto live = [&](std::uint32_t recno) {
        return records[static_cast<std::size_t>(recno - 1) * header.recordLength] != '*';
    };

    // Memo pointers.
    if (header.hasMemo()) {
        const std::string memoPath = DbfTable::memoPathFor(tablePath);
        std::uint64_t memoSize = 0;
        if (memoPath.empty()) {
            faults.add("memo", name + ": o arquivo de memorandos (.DBT) não existe");
        } else {
            SharedFile memo;
            memo.open(memoPath, false);
            memoSize = memo.size();
            for (std::uint32_t r = 1; r <= readable; ++r) {
                if (!live(r))
                    continue;
                const std::string rec = record(r);
                for (const DbfField& f : header.fields) {
                    if (f.type != 'M')
                        continue;
                    std::string digits;
                    for (char c : rec.substr(f.offset, f.length))
                        if (c != ' ')
                            digits += c;
                    if (digits.empty())
                        continue;
                    if (digits.find_first_not_of("0123456789") != std::string::npos) {
                        faults.add("memo", name + ": registro " + std::to_string(r) + ", campo " + f.name +
                                               ": o ponteiro de memorando \"" + digits + "\" não é um número");
                        continue;
                    }
                    const unsigned long long block = std::stoull(digits);
                    if (block != 0 && block * 512 >= memoSize)
                        faults.add("memo", name + ": registro " + std::to_string(r) + ", campo " + f.name +
                                               ": o memorando aponta para o bloco " + digits +
                                               ", além do fim do arquivo de memorandos");
                }
            }
        }
    }
    faults.summarize(name);

    for (auto& index : indices) {
        const std::string where = name + " / " + index->name();
        std::vector<NtxIndex::Entry> entries;
        try {
            index->forEach([&](const NtxIndex::Entry& e) { entries.push_back(e); });
        } catch (const AppError& e) {
            out.push_back(e.what());
            continue;
        }
        std::vector<int> seen(static_cast<std::size_t>(readable) + 1, 0);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const NtxIndex::Entry& e = entries[i];
            if (i > 0 && entries[i - 1].key > e.key)
                faults.add("ordem", where + ": a chave " + shown(e.key) + " está depois de " +
                                        shown(entries[i - 1].key) + " (fora de ordem)");
            if (e.recno == 0 || e.recno > readable) {
                faults.add("inexistente", where + ": a chave " + shown(e.key) + " aponta para o registro " +
                                              std::to_string(e.recno) + ", que não existe");
                continue;
            }
            if (!live(e.recno)) {
                faults.add("apagado", where + ": a chave " + shown(e.key) + " aponta para o registro " +
                                          std::to_string(e.recno) + ", que está apagado");
                continue;
            }
            ++seen[e.recno];
            std::string key;
            try {
                key = index->keyOf(record(e.recno));
            } catch (const AppError& err) {
                faults.add("chave", where + ": registro " + std::to_string(e.recno) + ": " + err.what());
                continue;
            }
            if (key != e.key)
                faults.add("divergente", where + ": a chave " + shown(e.key) + " do registro " +
                                             std::to_string(e.recno) + " não corresponde ao registro, cuja chave é " +
                                             shown(key));
        }
        for (std::uint32_t r = 1; r <= readable; ++r) {
            if (!live(r))
                continue;
            if (seen[r] == 0) {
                std::string key;
                try {
                    key = shown(index->keyOf(record(r)));
                } catch (const AppError&) {
                    key = "(inválida)";
                }
                faults.add("ausente",
                           where + ": o registro " + std::to_string(r) + " (chave " + key + ") não está no índice");
            } else if (seen[r] > 1) {
                faults.add("repetido", where + ": o registro " + std::to_string(r) + " aparece " +
                                           std::to_string(seen[r]) + " vezes no índice");
            }
        }
        faults.summarize(where);
    }
    table.unlock(ClipperLocks::Header, 1);
    return out;
}
