#include "platform/SystemErrorText.h"

#include <cerrno>

std::string systemErrorText(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
        return "permissão negada";
    case ENOENT:
        return "a pasta ou o arquivo não existe";
    case ENOTDIR:
        return "uma parte do caminho não é uma pasta";
    case EEXIST:
        return "já existe um arquivo com esse nome";
    case EISDIR:
        return "é uma pasta";
    case ENOSPC:
        return "não há espaço livre no disco";
    case EDQUOT:
        return "a cota de disco do usuário acabou";
    case EROFS:
        return "o disco é somente leitura";
    case ENAMETOOLONG:
        return "nome longo demais";
    case ELOOP:
        return "atalhos (links) demais no caminho";
    case EMLINK:
        return "a pasta superior não aceita mais pastas";
    case EBUSY:
        return "o arquivo está em uso";
    case EIO:
        return "erro de leitura ou gravação no disco";
    case EINVAL:
        return "nome inválido";
    default:
        return "erro do sistema " + std::to_string(code);
    }
}
