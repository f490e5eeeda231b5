#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

std::string systemErrorText(int errnum) {
    switch (errnum) {
    case 0:
        return "sem erro informado pelo sistema";
    case EACCES:
    case EPERM:
        return "permissão negada";
    case ENOENT:
        return "arquivo ou pasta não encontrado";
    case ENOTDIR:
        return "parte do caminho não é uma pasta";
    case EISDIR:
        return "é uma pasta";
    case EEXIST:
        return "já existe";
    case ENOSPC:
        return "não há espaço livre no disco";
#ifdef EDQUOT
    case EDQUOT:
        return "a cota de disco do usuário se esgotou";
#endif
    case EROFS:
        return "o disco só permite leitura";
    case EBUSY:
    case ETXTBSY:
        return "o arquivo está em uso";
    case EAGAIN:
        return "o recurso está ocupado no momento";
    case ENAMETOOLONG:
        return "nome de arquivo longo demais";
    case ELOOP:
        return "atalhos (links) em círculo no caminho";
    case EMFILE:
    case ENFILE:
        return "arquivos abertos demais";
    case EIO:
        return "erro de leitura ou gravação no disco";
    case ENOMEM:
        return "memória insuficiente";
    case EINVAL:
        return "argumento inválido";
    case EXDEV:
        return "origem e destino estão em discos diferentes";
    case ENOTEMPTY:
        return "a pasta não está vazia";
    case ECONNREFUSED:
        return "conexão recusada";
    case ETIMEDOUT:
        return "tempo de espera esgotado";
    default:
        return std::string("erro do sistema ") + std::to_string(errnum) + " (" + std::strerror(errnum) + ")";
    }
}

std::string systemErrorText(const std::error_code& code) {
    if (code.category() == std::system_category() || code.category() == std::generic_category())
        return systemErrorText(code.value());
    return code.message();
}
