// plotnik-klasa: a lesson with a class from a teacher's Linux laptop. It starts nats-server (the
// message server) and nginx (serving Plotnik's page and passing /klasa to the message server), each
// as the user's own process with a configuration written for this lesson into a private folder,
// prints the pupils' address and the teacher's (with a key made for this lesson), and on Ctrl+C
// stops both and removes the folder. A server that ends on its own is started again.
// With --account it prints a new teacher account for a school's own server instead.
#include "class_server/server_config.h"
#include "class_server/servers.h"
#include "pictures/class_code.h"

#include <signal.h>
#include <sys/random.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: plotnik-klasa [--host HOST] [--port PORT] [--site FOLDER]\n"
    "       plotnik-klasa --account [CODE]\n"
    "       plotnik-klasa --help | --version\n"
    "Starts a lesson with a class: nats-server and nginx, run as you, serve Plotnik's page on\n"
    "HOST:PORT and pass /klasa to the message server. It prints the pupils' address (Uczniowie:)\n"
    "and the teacher's (Nauczyciel:); Ctrl+C stops both servers.\n"
    "  --host HOST    the address to listen on and print (default: this machine's address on\n"
    "                 the network of its default route)\n"
    "  --port PORT    the port (default: a free one)\n"
    "  --site FOLDER  Plotnik's page (default: /usr/share/plotnik)\n"
    "  --account      print a new teacher's key and its entry for a school's nats-server\n"
    "                 configuration, with the teacher's two characters CODE or new ones\n";

constexpr char kDefaultSite[] = "/usr/share/plotnik";
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
        } else if (option == "--port" && hasValue) {
            char* end = nullptr;
            const long port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 1 || port > 65535) {
                return usageError(std::string("port to liczba od 1 do 65535, a nie „") + argv[i] + "”");
            }
            options.port = static_cast<int>(port);
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
    int clientPort = 0;
    int websocketPort = 0;
    if ((options.port == 0 && !freePort(options.host, options.port, why)) ||
        !freePort(loopback, clientPort, why) || !freePort(loopback, websocketPort, why)) {
        return fail(why);
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
    std::string hash;
    const std::string websocketListen = loopback + ":" + std::to_string(websocketPort);
    MessageServerPlan messages{loopback + ":" + std::to_string(clientPort), websocketListen, {}};
    WebServerPlan web{hostInAddress(options.host) + ":" + std::to_string(options.port), site, folder, websocketListen,
                      geteuid() == 0};
    const bool written = bcryptHash(key.substr(kTeacherCodeLength + 1), systemRandom, hash, why) &&
                         (messages.teachers.push_back({teacher, hash}), true) &&
                         writeFile(folder + "/nats.conf", messageServerConfig(messages)) &&
                         writeFile(folder + "/nginx.conf", webServerConfig(web)) &&
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

    Server nats{"serwer wiadomości (nats-server)", {natsProgram, "-c", folder + "/nats.conf"}, folder + "/nats.log"};
    Server nginx{"serwer WWW (nginx)",
                 {nginxProgram, "-p", folder, "-c", folder + "/nginx.conf", "-e", folder + "/nginx.log"},
                 folder + "/nginx.log"};
    const auto finish = [&](int status) {
        stopServers({&nginx, &nats});
        fs::remove_all(folder);
        return status;
    };
    if (!startServer(nats, why) || !waitUntilListening(nats, loopback, websocketPort, kStartMs, why) ||
        !startServer(nginx, why) || !waitUntilListening(nginx, options.host, options.port, kStartMs, why)) {
        return finish(fail(why));
    }

    std::printf("Plotnik: lekcja z klasą. Otwórz adres nauczyciela, wybierz obraz i kliknij „Lekcja z klasą”.\n"
                "Uczniowie: %s\n"
                "Nauczyciel: %s\n"
                "Klucz w adresie nauczyciela działa tylko do końca tej lekcji; w zwykłym http przechodzi przez\n"
                "sieć klasy jawnie. Dzienniki serwerów: %s (znikną po lekcji).\n"
                "Ctrl+C kończy lekcję i zatrzymuje oba serwery.\n",
                pupilsAddress(options.host, options.port).c_str(),
                teacherAddress(options.host, options.port, key).c_str(), folder.c_str());
    std::fflush(stdout);

    std::deque<std::chrono::steady_clock::time_point> natsRestarts;
    std::deque<std::chrono::steady_clock::time_point> nginxRestarts;
    const timespec tick{0, 200 * 1000 * 1000};
    for (;;) {
        const int got = sigtimedwait(&signals, nullptr, &tick);
        if (got == SIGINT || got == SIGTERM || got == SIGHUP) {
            break;
        }
        if (!keepRunning(nats, natsRestarts, loopback, websocketPort, why) ||
            !keepRunning(nginx, nginxRestarts, options.host, options.port, why)) {
            return finish(fail(why));
        }
    }
    const int status = finish(0);
    std::printf("Lekcja zakończona: oba serwery zatrzymane.\n");
    return status;
}
