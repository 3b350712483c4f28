// The class server's configuration files, as text.
#include "class_server/server_config.h"

#include <crypt.h>

#include <cstdint>

namespace {

std::string quote(const std::string& text)
{
    return "\"" + text + "\"";
}

// A list of strings (subjects, routes) as nats-server's configuration writes it.
std::string listOf(const std::vector<std::string>& list)
{
    std::string text = "[";
    for (const std::string& s : list) {
        text += (text.size() == 1 ? "" : ", ") + quote(s);
    }
    return text + "]";
}

constexpr char kRouteUser[] = "plotnik-route";

}  // namespace

std::string teacherUser(const TeacherAccount& teacher)
{
    return "{ user: " + quote(teacher.code) + ", password: " + quote(teacher.hash) + ",\n" +
           "      permissions: { publish: { allow: " + listOf({lessonsSubject(teacher.code, "state")}) + " },\n" +
           "                     subscribe: { allow: " +
           listOf({lessonsSubject(teacher.code, "answer"), lessonsSubject(teacher.code, "hello")}) + " },\n" +
           "                     allow_responses: true } }";
}

std::string pupilUser()
{
    return "{ user: \"pupil\",\n"
           "      permissions: { publish: { allow: " +
           listOf({lessonsSubject("*", "answer"), lessonsSubject("*", "hello")}) + " },\n" +
           "                     subscribe: { allow: " + listOf({lessonsSubject("*", "state"), "_INBOX.>"}) +
           " } } }";
}

namespace {

// The cluster block of a node: the other nodes' routes, each with the route user's secret; no
// node tells its clients of the others (the pages reach the nodes through the web server only).
std::string clusterBlock(const MessageServerPlan& plan)
{
    std::vector<std::string> routes;
    for (const std::string& route : plan.routes) {
        routes.push_back("nats-route://" + std::string(kRouteUser) + ":" + plan.routeSecret + "@" + route);
    }
    return "server_name: " + quote(plan.name) + "\n" +
           "cluster {\n"
           "  name: \"plotnik\"\n"
           "  listen: " + quote(plan.clusterListen) + "\n" +
           "  authorization { user: " + quote(kRouteUser) + ", password: " + quote(plan.routeSecret) + " }\n" +
           "  routes: " + listOf(routes) + "\n" +
           "  no_advertise: true\n"
           "}\n";
}

}  // namespace

std::string messageServerConfig(const MessageServerPlan& plan)
{
    std::string users = "    " + pupilUser() + "\n";
    for (const TeacherAccount& teacher : plan.teachers) {
        users += "    " + teacherUser(teacher) + "\n";
    }
    return "# nats-server for Plotnik's lessons with a class: small messages, none stored, none logged.\n"
           "listen: " + quote(plan.clientListen) + "\n" +
           (plan.monitorListen.empty() ? "" : "http: " + quote(plan.monitorListen) + "\n") +
           (plan.clusterListen.empty() ? "" : clusterBlock(plan)) +
           "max_payload: " + std::to_string(kMaxMessageBytes) + "\n" +
           "max_connections: 500\n"
           "max_subscriptions: 16\n"
           "ping_interval: \"20s\"\n"
           "ping_max: 3\n"
           "write_deadline: \"5s\"\n"
           "debug: false\n"
           "trace: false\n"
           "logtime: true\n"
           "websocket {\n"
           "  listen: " + quote(plan.websocketListen) + "\n" +
           "  no_tls: true  # the web server in front ends TLS, or the laptop's lesson goes without\n"
           "  compression: false\n"
           "  no_auth_user: \"pupil\"\n"
           "}\n"
           "authorization {\n"
           "  users = [\n" + users +
           "  ]\n"
           "}\n"
           "no_auth_user: \"pupil\"\n";
}

std::string webServerConfig(const WebServerPlan& plan)
{
    const std::string& d = plan.folder;
    // The pages' connections go to the nodes in turn; a node that refuses one, or does not answer
    // within 2 s, is left out for 10 s and the connection goes to the next.
    std::string upstreams;
    for (const std::string& node : plan.messageServers) {
        upstreams += "    server " + node + " max_fails=1 fail_timeout=10s;\n";
    }
    return "# nginx for a Plotnik lesson with a class, run by the user in the foreground.\n"
           "daemon off;\n" +
           std::string(plan.asRoot ? "user root;\n" : "") +
           "worker_processes 1;\n"
           "worker_rlimit_nofile 8192;\n"
           "pid " + d + "/nginx.pid;\n" +
           "error_log " + d + "/nginx.log warn;\n" +
           "events { worker_connections 4096; }\n"
           "http {\n"
           "  access_log off;\n"
           "  client_body_temp_path " + d + "/body;\n" +
           "  proxy_temp_path " + d + "/proxy;\n" +
           "  fastcgi_temp_path " + d + "/fastcgi;\n" +
           "  uwsgi_temp_path " + d + "/uwsgi;\n" +
           "  scgi_temp_path " + d + "/scgi;\n" +
           "  types {\n"
           "    text/html html;\n"
           "    text/css css;\n"
           "    text/javascript js;\n"
           "    application/json json;\n"
           "    image/png png;\n"
           "    application/manifest+json webmanifest;\n"
           "    application/wasm wasm;\n"
           "  }\n"
           "  default_type application/octet-stream;\n"
           "  gzip on;\n"
           "  gzip_types text/css text/javascript application/json application/manifest+json application/wasm;\n"
           "  upstream plotnik_klasa {\n" + upstreams +
           "  }\n"
           "  server {\n"
           "    listen " + plan.listen + ";\n" +
           "    root " + plan.site + ";\n" +
           "    index index.html;\n"
           "    location = /" + kClassServerFile + " {\n" +
           "      alias " + d + "/" + kClassServerFile + ";\n" +
           "      add_header Cache-Control no-store;\n"
           "    }\n"
           "    location = /" + kClassServerPath + " {\n" +
           "      proxy_pass http://plotnik_klasa;\n"
           "      proxy_next_upstream error timeout;\n"
           "      proxy_connect_timeout 2s;\n"
           "      proxy_http_version 1.1;\n"
           "      proxy_set_header Upgrade $http_upgrade;\n"
           "      proxy_set_header Connection \"upgrade\";\n"
           "      proxy_read_timeout 1h;\n"
           "    }\n"
           "  }\n"
           "}\n";
}

std::string classServerFileText()
{
    return std::string("{\"server\":\"") + kClassServerPath + "\"}\n";
}

std::string hostInAddress(const std::string& host)
{
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

std::string pupilsAddress(const std::string& host, int port)
{
    return "http://" + hostInAddress(host) + ":" + std::to_string(port) + "/";
}

std::string teacherAddress(const std::string& host, int port, const std::string& key)
{
    return pupilsAddress(host, port) + "#nauczyciel=" + key;
}

bool bcryptHash(const std::string& secret, const RandomBytes& random, std::string& hash, std::string& why)
{
    std::uint8_t salt[16];
    random(salt, sizeof salt);
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    if (crypt_gensalt_rn("$2b$", 10, reinterpret_cast<const char*>(salt), sizeof salt, setting, sizeof setting) ==
        nullptr) {
        why = "biblioteka crypt nie tworzy skrótów bcrypt";
        return false;
    }
    crypt_data data{};
    const char* hashed = crypt_rn(secret.c_str(), setting, &data, sizeof data);
    if (hashed == nullptr || hashed[0] != '$') {
        why = "biblioteka crypt nie policzyła skrótu bcrypt";
        return false;
    }
    hash = hashed;
    return true;
}
