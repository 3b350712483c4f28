// plotnik-klasa: a lesson with a class from a teacher's Linux laptop. It starts nats-server (the
// message server) and nginx (serving Plotnik's page and passing /klasa to the message server), each
// as the user's own process with a configuration written for this lesson into a private folder,
// prints the pupils' address and the teacher's (with a key made for this lesson), and on Ctrl+C
// stops both and removes the folder. A server that ends on its own is started again. With --nodes
// the message server is a cluster of nodes, among which nginx spreads the pages' connections.
// With --account it prints a new teacher account for a school's own server instead.
#include "class_server/server_config.h"
#include "class_server/servers.h"
#include "pictures/class_code.h"

#include <signal.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: plotnik-klasa [--host HOST] [--port PORT] [--site FOLDER] [--nodes N]\n"
    "       plotnik-klasa --account [CODE]\n"
    "       plotnik-klasa --help | --version\n"
    "Starts a lesson with a class: nats-server and nginx, run as you, serve Plotnik's page on\n"
    "HOST:PORT and pass /klasa to the message server. It prints the pupils' address (Uczniowie:)\n"
    "and the teacher's (Nauczyciel:); Ctrl+C stops both servers.\n"
    "  --host HOST    the address to listen on and print (default: this machine's address on\n"
    "                 the network of its default route)\n"
    "  --port PORT    the port (default: a free one)\n"
    "  --site FOLDER  Plotnik's page (default: /usr/share/plotnik)\n"
    "  --nodes N      run the message server as a cluster of N nodes (1 to 5, default 1): the\n"
    "                 lesson goes on when one of them ends\n"
    "  --account      print a new teacher's key and its entry for a school's nats-server\n"
    "                 configuration, with the teacher's two characters CODE or new ones\n";

constexpr char kDefaultSite[] = "/usr/share/plotnik";
constexpr int kMaxNodes = 5;
constexpr int kStartMs = 15000;          // how long a server may take to come up
constexpr int kRestartsAllowed = 5;      // restarts of one server within kRestartWindow before giving up
constexpr auto kRestartWindow = std::chrono::minutes(1);

void systemRandom(std::uint8_t* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t got = getrandom(bytes, count, 0);
        if (got <= 0) {
            std::perror("plotnik-klasa: getrandom");
            std::exit(1);
        }
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
}

int fail(const std::string& why)
{
    std::fprintf(stderr, "plotnik-klasa: %s\n", why.c_str());
    return 1;
}

int usageError(const std::string& why)
{
    std::fprintf(stderr, "plotnik-klasa: %s\n%s", why.c_str(), kUsage);
    return 2;
}

bool writeFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

struct Options {
    std::string host;
    int port = 0;
    std::string site = kDefaultSite;
    int nodes = 1;
    bool account = false;
    std::string accountCode;
};

// The command line; 0 to go on, else the status to end with.
int readOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--help" || option == "-h") {
            std::printf("%s", kUsage);
            return -1;
        }
        if (option == "--version") {
            std::printf("plotnik-klasa %s\n", PLOTNIK_VERSION);
            return -1;
        }
        if (option == "--account") {
            options.account = true;
            if (hasValue && argv[i + 1][0] != '-') {
                options.accountCode = argv[++i];
                if (!isTeacherCode(options.accountCode)) {
                    return usageError("kod nauczyciela to 2 znaki z " + std::string(kCodeAlphabet) + ", a nie „" +
                                      options.accountCode + "”");
                }
            }
        } else if ((option == "--host" || option == "--site") && hasValue) {
            (option == "--host" ? options.host : options.site) = argv[++i];
        } else if ((option == "--port" || option == "--nodes") && hasValue) {
            const bool port = option == "--port";
            const long most = port ? 65535 : kMaxNodes;
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > most) {
                return usageError(std::string(port ? "port" : "liczba węzłów") + " to liczba od 1 do " +
                                  std::to_string(most) + ", a nie „" + argv[i] + "”");
            }
            (port ? options.port : options.nodes) = static_cast<int>(value);
        } else {
            return usageError("nieznana opcja „" + option + "”" + (hasValue ? "" : " albo brak jej wartości"));
        }
    }
    return 0;
}

// --account: a new teacher's key, and the account for the school's configuration.
int printAccount(const Options& options)
{
    const std::string code = options.accountCode.empty() ? randomCodeCharacters(kTeacherCodeLength, systemRandom)
                                                         : options.accountCode;
    const std::string token = newToken(systemRandom);
    std::string hash;
    std::string why;
    if (!bcryptHash(token, systemRandom, hash, why)) {
        return fail(why);
    }
    std::printf("Klucz nauczyciela (tylko dla niego): %s.%s\n"
                "Adres nauczyciela: adres strony, a po nim #nauczyciel=%s.%s\n"
                "Wpis do authorization.users w konfiguracji nats-server (kod %s ma być jedyny):\n    %s\n",
                code.c_str(), token.c_str(), code.c_str(), token.c_str(), code.c_str(),
                teacherUser({code, hash}).c_str());
    return 0;
}

// Starts a server that ended on its own again, unless it ended too often; false then, with why.
bool keepRunning(Server& server, std::deque<std::chrono::steady_clock::time_point>& restarts, const std::string& host,
                 int port, std::string& why)
{
    if (!ended(server)) {
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    while (!restarts.empty() && now - restarts.front() > kRestartWindow) {
        restarts.pop_front();
    }
    if (static_cast<int>(restarts.size()) >= kRestartsAllowed) {
        why = server.name + " kończy działanie raz za razem: " + logTail(server.log);
        return false;
    }
    restarts.push_back(now);
    std::printf("Uwaga: %s zakończył działanie; uruchamiam go ponownie.\n", server.name.c_str());
    std::fflush(stdout);
    return startServer(server, why) && waitUntilListening(server, host, port, kStartMs, why);
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    const int read = readOptions(argc, argv, options);
    if (read != 0) {
        return read < 0 ? 0 : read;
    }
    if (options.account) {
        return printAccount(options);
    }
    std::string why;
    if (options.host.empty() && !classroomAddress(options.host, why)) {
        return fail("nie znam adresu tego komputera w sieci klasy: " + why + ". Podaj go: --host ADRES");
    }
    if (!fs::exists(fs::path(options.site) / "index.html")) {
        return fail("nie ma strony Plotnika w " + options.site + " (--site FOLDER)");
    }
    const std::string site = fs::absolute(options.site).string();
    const std::string natsProgram = findProgram("nats-server");
    const std::string nginxProgram = findProgram("nginx");
    if (natsProgram.empty() || nginxProgram.empty()) {
        return fail(std::string("brak programu ") + (natsProgram.empty() ? "nats-server" : "nginx") +
                    "; zainstaluj go: sudo apt install nats-server nginx");
    }
    const std::string loopback = "127.0.0.1";
    const auto at = [&](int port) { return loopback + ":" + std::to_string(port); };
    // Each node's ports on loopback: the plain listener, the pages' WebSocket, the monitoring pages
    // and, in a cluster, the other nodes' routes.
    struct Node {
        int client = 0, websocket = 0, monitor = 0, cluster = 0;
    };
    std::vector<Node> nodes(static_cast<std::size_t>(options.nodes));
    if (options.port == 0 && !freePort(options.host, options.port, why)) {
        return fail(why);
    }
    std::vector<int> taken{options.port};  // each port once: the system may hand one out again once let go
    for (Node& n : nodes) {
        for (int* port : {&n.client, &n.websocket, &n.monitor, &n.cluster}) {
            do {
                if (!freePort(loopback, *port, why)) {
                    return fail(why);
                }
            } while (std::find(taken.begin(), taken.end(), *port) != taken.end());
            taken.push_back(*port);
        }
    }

    // The lesson's folder: the configurations, the servers' logs and their temporary files.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folderTemplate = std::string(runtime != nullptr && fs::is_directory(runtime) ? runtime : "/tmp") +
                                 "/plotnik-klasa-XXXXXX";
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        return fail("nie można utworzyć folderu " + folderTemplate + ": " + std::strerror(errno));
    }
    const std::string folder = folderTemplate;

    const std::string teacher = randomCodeCharacters(kTeacherCodeLength, systemRandom);
    const std::string key = teacher + "." + newToken(systemRandom);
    const std::string routeSecret = newToken(systemRandom);
    std::string hash;
    bool written = bcryptHash(key.substr(kTeacherCodeLength + 1), systemRandom, hash, why);
    WebServerPlan web{hostInAddress(options.host) + ":" + std::to_string(options.port), site, folder, {},
                      geteuid() == 0};
    std::vector<Server> servers;
    for (std::size_t i = 0; i < nodes.size() && written; ++i) {
        const std::string number = std::to_string(i + 1);
        MessageServerPlan plan;
        plan.clientListen = at(nodes[i].client);
        plan.websocketListen = at(nodes[i].websocket);
        plan.teachers = {{teacher, hash}};
        plan.monitorListen = at(nodes[i].monitor);
        if (nodes.size() > 1) {
            plan.name = "plotnik-" + number;
            plan.clusterListen = at(nodes[i].cluster);
            for (const Node& other : nodes) {
                if (&other != &nodes[i]) {
                    plan.routes.push_back(at(other.cluster));
                }
            }
            plan.routeSecret = routeSecret;
        }
        web.messageServers.push_back(plan.websocketListen);
        const std::string config = folder + "/nats-" + number + ".conf";
        written = writeFile(config, messageServerConfig(plan));
        servers.push_back({nodes.size() == 1 ? "serwer wiadomości (nats-server)"
                                             : "serwer wiadomości " + number + " (nats-server)",
                           {natsProgram, "-c", config}, folder + "/nats-" + number + ".log"});
    }
    written = written && writeFile(folder + "/nginx.conf", webServerConfig(web)) &&
              writeFile(folder + "/" + kClassServerFile, classServerFileText());
    if (!written) {
        fs::remove_all(folder);
        return fail(why.empty() ? "nie można zapisać konfiguracji w " + folder : why);
    }

    // Signals are taken one at a time below; the servers start with none blocked.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) {
        signal(s, SIG_DFL);  // a shell's background job starts with SIGINT ignored
        sigaddset(&signals, s);
    }
    sigprocmask(SIG_BLOCK, &signals, nullptr);

    servers.push_back({"serwer WWW (nginx)",
                       {nginxProgram, "-p", folder, "-c", folder + "/nginx.conf", "-e", folder + "/nginx.log"},
                       folder + "/nginx.log"});
    // Where each server is known to be up: the nodes' WebSocket listeners, then nginx's.
    std::vector<std::pair<std::string, int>> listening;
    for (const Node& n : nodes) {
        listening.emplace_back(loopback, n.websocket);
    }
    listening.emplace_back(options.host, options.port);
    std::vector<Server*> all;
    for (Server& s : servers) {
        all.push_back(&s);
    }
    const auto finish = [&](int status) {
        stopServers({all.rbegin(), all.rend()});  // nginx first
        fs::remove_all(folder);
        return status;
    };
    for (std::size_t i = 0; i < servers.size(); ++i) {
        if (!startServer(servers[i], why) ||
            !waitUntilListening(servers[i], listening[i].first, listening[i].second, kStartMs, why)) {
            return finish(fail(why));
        }
    }

    const char* const both = nodes.size() == 1 ? "oba serwery" : "wszystkie serwery";
    std::string monitors;
    for (const Node& n : nodes) {
        monitors += " http://" + at(n.monitor) + "/varz";
    }
    std::printf("Plotnik: lekcja z klasą. Otwórz adres nauczyciela, wybierz obraz i kliknij „Lekcja z klasą”.\n"
                "Uczniowie: %s\n"
                "Nauczyciel: %s\n"
                "Klucz w adresie nauczyciela działa tylko do końca tej lekcji; w zwykłym http przechodzi przez\n"
                "sieć klasy jawnie. Dzienniki serwerów: %s (znikną po lekcji).\n"
                "Stan %s: %s\n"
                "Ctrl+C kończy lekcję i zatrzymuje %s.\n",
                pupilsAddress(options.host, options.port).c_str(),
                teacherAddress(options.host, options.port, key).c_str(), folder.c_str(),
                nodes.size() == 1 ? "serwera wiadomości" : "węzłów serwera wiadomości", monitors.c_str() + 1, both);
    std::fflush(stdout);

    std::vector<std::deque<std::chrono::steady_clock::time_point>> restarts(servers.size());
    const timespec tick{0, 200 * 1000 * 1000};
    for (;;) {
        const int got = sigtimedwait(&signals, nullptr, &tick);
        if (got == SIGINT || got == SIGTERM || got == SIGHUP) {
            break;
        }
        for (std::size_t i = 0; i < servers.size(); ++i) {
            if (!keepRunning(servers[i], restarts[i], listening[i].first, listening[i].second, why)) {
                return finish(fail(why));
            }
        }
    }
    const int status = finish(0);
    std::printf("Lekcja zakończona: %s zatrzymane.\n", both);
    return status;
}
