// merlin-sim: a local stand-in for the Merlin web service, for tests and demonstrations.
#include "SimServer.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <pthread.h>
#include <stdexcept>
#include <thread>

namespace {

const char* const Usage =
    "uso: merlin-sim --port PORTA --docs PASTA [--log ARQUIVO] [--host ENDEREÇO] [--port-file ARQUIVO]\n"
    "                [--control ARQUIVO] [--rule REGRA]...\n"
    "\n"
    "  --port N         porta (0: qualquer porta livre; a escolhida é mostrada e gravada em --port-file)\n"
    "  --docs PASTA     documentos de processo: DI_<referência>_<ano>.xml (receiveDIrequest: DI e DSI)\n"
    "                   e LI_<referência>_<ano>.xml (receiveLIrequest: LI e LSI); na referência e no ano,\n"
    "                   todo caractere que não seja letra, dígito, '-', '.' ou '_' é escrito %XX\n"
    "                   (\"IMP 001/26\" -> DI_IMP%20001%2F26_2026.xml); maiúsculas e minúsculas tanto faz\n"
    "  --log ARQUIVO    registra cada requisição (método, caminho, consulta, corpo) também neste arquivo\n"
    "  --host ENDEREÇO  endereço de escuta (padrão 127.0.0.1)\n"
    "  --control ARQ    regras relidas a cada requisição (uma por linha; valem sobre as de --rule)\n"
    "  --rule REGRA     uma regra; pode repetir\n"
    "\n"
    "regras: OPERAÇÃO[@CHAVE]=DIRETIVAS  ou  OPERAÇÃO.reason=TEXTO[|TEXTO...]\n"
    "  OPERAÇÃO: process (chave P_TRAMITE), retorno (chave ID_PROCESSO), soap (chave ENTITY)\n"
    "  DIRETIVAS: accept, refuse, notfound, garbage, html, empty, fault (soap), error:STATUS,\n"
    "             delay:MILISSEGUNDOS, silent, strict (soap: cada valor conferido pelo seu tipo)\n"
    "  exemplos: --rule retorno=refuse   --rule 'process@IMP 01=delay:5000'   --rule soap=error:500\n"
    "            --rule 'soap.reason=Entidade bloqueada|Fatura duplicada'\n";

int usageError(const std::string& why) {
    std::cerr << "merlin-sim: " << why << "\n\n" << Usage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    SimServer::Options options;
    std::string portFile;
    bool portGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << Usage;
            return 0;
        }
        if (i + 1 >= argc)
            return usageError("falta o valor de " + a);
        const std::string v = argv[++i];
        if (a == "--port") {
            if (v.empty() || v.find_first_not_of("0123456789") != std::string::npos || v.size() > 5 ||
                std::stoi(v) > 65535)
                return usageError("porta inválida: " + v);
            options.port = std::stoi(v);
            portGiven = true;
        } else if (a == "--docs") {
            options.docsFolder = v;
        } else if (a == "--log") {
            options.logFile = v;
        } else if (a == "--host") {
            options.host = v;
        } else if (a == "--port-file") {
            portFile = v;
        } else if (a == "--control") {
            options.controlFile = v;
        } else if (a == "--rule") {
            try {
                options.rules.add(v);
            } catch (const std::invalid_argument& e) {
                return usageError(std::string("regra inválida: ") + e.what());
            }
        } else {
            --i;
            return usageError("opção desconhecida: " + a);
        }
    }
    if (!portGiven)
        return usageError("informe --port");
    if (options.docsFolder.empty())
        return usageError("informe --docs");
    if (!std::filesystem::is_directory(options.docsFolder))
        return usageError("pasta de documentos não encontrada: " + options.docsFolder);
    if (!options.logFile.empty() && !std::ofstream(options.logFile, std::ios::app))
        return usageError("não foi possível abrir o registro " + options.logFile);

    // SIGINT and SIGTERM are taken by one thread that stops the server; every other thread has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SimServer server(options);
    const int port = server.bind();
    if (port < 0) {
        std::cerr << "merlin-sim: não foi possível escutar em " << options.host << ":" << options.port << "\n";
        return 1;
    }
    std::cout << "merlin-sim: ouvindo em http://" << options.host << ":" << port
              << " (documentos: " << options.docsFolder << ")" << std::endl;
    if (!portFile.empty()) {
        // Written whole under another name first, so a reader never sees half a number.
        const std::string partial = portFile + ".tmp";
        std::ofstream(partial) << port << "\n";
        std::rename(partial.c_str(), portFile.c_str());
    }

    std::thread([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    }).detach();

    const bool served = server.serve();
    std::cout << "merlin-sim: encerrado" << std::endl;
    return served ? 0 : 1;
}
