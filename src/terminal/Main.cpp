#include <clocale>

#include "Environment.h"
#include "GameManager.h"
#include "RunMain.h"
#include "browser/api/HttpApi.h"
#include "server/Api.h"
#include "terminal/TerminalDisplay.h"

int main() {
    // Texts reach the screen as UTF-8 in the user's locale; numbers keep the C form.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    karvel::runMain([] {
        karvel::browser::api::HttpApi http;
        karvel::server::Api api(http, karvel::Environment::API_URL);
        karvel::terminal::Display display;
        karvel::GameManager manager(api, display);
        manager.run();
    });
    return 0;
}
