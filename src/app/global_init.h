#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace dravin {

class HttpServer;

// The process-wide web server: replaced by a new instance at every global initialisation.
std::shared_ptr<HttpServer>& server();

// 9080, or DRAVIN_HTTP_PORT when set (tests only).
std::uint16_t httpPort();

// The key the server's "/files/" route asks for: made once per run from the kernel's random
// source and given only to the application's own pages.
QString accessKey();

// Lays out and creates the storage tree under `storageFolder`, refreshes the templates from
// the resources, and starts a new server with the application's routes.
void initGlobal(const QString& storageFolder, const QString& resourceFolder);

// Every entry of `source` replaces the same-named entry of `destination`; entries only the
// destination has are left alone.
void copyFolderContents(const QString& source, const QString& destination);

}  // namespace dravin
