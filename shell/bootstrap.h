#pragma once
// Program start: creates the main form, the data module and every other form,
// each once, without touching a database.

#include "core/config.h"

#include <QString>

class QWidget;

namespace talvera {

class DataModule;
class TfmPrincipal;

// The edition this executable was built as (linked in from its edition library).
Edition buildEdition();

// Creates fmPrincipal, dmAih and then every form, in the program's order.
void createForms();
// The same with other build settings and configuration file (tests).
void createForms(const BuildSettings& build, const QString& configFile);
// Deletes every form and the data module (the data module commits and closes).
void destroyForms();

TfmPrincipal* fmPrincipal();
DataModule& dmAih();
// A form by its instance name ("fmDistr"); null when there is none.
QWidget* form(const QString& name);
// Instance names in creation order, fmPrincipal first.
QStringList formNames();

} // namespace talvera
