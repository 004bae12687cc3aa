#pragma once
// The report preview, behind a service like the message boxes: production
// opens the maximised preview window; tests install one that keeps the
// documents (KeptPreviews).

#include "reports/engine/document.h"

#include <memory>
#include <vector>

namespace talvera::reports {

class Previews {
public:
    virtual ~Previews();
    virtual void show(const Document& document) = 0;
};

// The modal preview window, maximised, over the active window.
class WindowPreviews : public Previews {
public:
    void show(const Document& document) override;
};

// The service in use; WindowPreviews until replaced. GUI thread only.
Previews& previews();
// Installs a service (null restores WindowPreviews) and returns the previous one.
std::unique_ptr<Previews> setPreviews(std::unique_ptr<Previews> service);

// Keeps a copy of every document shown.
class KeptPreviews : public Previews {
public:
    void show(const Document& document) override { documents.push_back(document); }
    std::vector<Document> documents;
};

// Installs a KeptPreviews for the lifetime of the object, then puts the previous service back.
class KeptPreviewsScope {
public:
    KeptPreviewsScope();
    ~KeptPreviewsScope();
    KeptPreviewsScope(const KeptPreviewsScope&) = delete;
    KeptPreviewsScope& operator=(const KeptPreviewsScope&) = delete;

    KeptPreviews* operator->() const { return kept_; }
    KeptPreviews& operator*() const { return *kept_; }

private:
    KeptPreviews* kept_;
    std::unique_ptr<Previews> previous_;
};

} // namespace talvera::reports
