// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"

// The program's three reports, each as a fresh instance: the page settings are those
// that the report sets when it is created (margins, report width, default font size),
// so a launcher that builds a new definition for every print gets them every time.

// The registry list: every subject with address, codes, contacts and note.
ReportDefinition createAnagrafe();

// The deadline card of one user; the launcher puts the user's name into the report
// header's "Label2".
ReportDefinition createScheda();

// The deadlines of all users, in the order the rows arrive.
ReportDefinition createSchedaUtenti();
