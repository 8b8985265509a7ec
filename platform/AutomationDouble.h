#pragma once
// A test double of the automation servers: the real object models over workbooks, documents and
// query results held in memory, every member access recorded in order. Installed for its lifetime.
//
// Log lines: "Create <program>", "GetActive <program>" (+ " -> none"), "<Class>.<Member>" for a
// get, "<Class>.<Member> := <value>" for a set, "<Class>.<Member>(<args>)" for a call (named
// arguments as "Name:=value"), " -> error" appended when the member failed, and "<Class> released"
// when an object handed out by Create or GetActive is let go.
#include "platform/AutomationModels.h"

#include <QMap>
#include <QSet>

namespace platform {

class ScriptedAutomation : public TAutomationFactory {
public:
    ScriptedAutomation();
    ~ScriptedAutomation() override;
    ScriptedAutomation(const ScriptedAutomation&) = delete;
    ScriptedAutomation& operator=(const ScriptedAutomation&) = delete;

    struct State {
        QStringList Log;
        // "Class.Member" entries that fail with EOleException("Scripted failure of Class.Member").
        QSet<QString> Failing;
    };

    QStringList& Log() { return FState->Log; }
    QSet<QString>& Failing() { return FState->Failing; }

    // Program names that no server answers to.
    QSet<QString> Unavailable;
    // Program names with an application already running (GetActive answers the same one).
    QSet<QString> Running;

    // The files the servers see, by name.
    QMap<QString, TWorkbookData> Workbooks;
    QMap<QString, TDocumentData> Documents;
    // Query results by SQL text; any other SQL fails as a syntax error.
    QMap<QString, TQueryResult> Queries;

    TAutoRef CreateOleObject(const QString& ProgId) override;
    TAutoRef GetActiveOleObject(const QString& ProgId) override;

    // Log lines that start with `prefix`, in order.
    QStringList Calls(const QString& prefix) const;

private:
    TAutoRef Make(const QString& ProgId);
    std::shared_ptr<State> FState = std::make_shared<State>();
    QMap<QString, TAutoRef> FRunning;
};

// A sheet with the given cells ((row, column) 1-based -> value), for building workbooks in tests.
TSheetData MakeSheet(const QString& Name, const std::map<std::pair<int, int>, TVariant>& Cells = {});

} // namespace platform
