// Sync of the nine accounting keys between the context and the print settings ticket, in each
// direction, without panel controls (the state of the Sync that Initialize runs):
//   build/default/bench/sync_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include "AccountingContext.h"
#include "AccountingSync.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

// A session holding a print settings ticket, as the print dialog keeps it.
struct Session {
    PMPrintSession session = nullptr;
    PMTicketRef ticket = nullptr;

    Session() {
        if (PMCreateSession(&session) != noErr ||
            PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket) != noErr) {
            std::fprintf(stderr, "no session or ticket\n");
            std::exit(1);
        }
        SInt32 handle = PMTicketGetHandle(ticket);
        CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle);
        PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, number);
        CFRelease(number);
    }
    ~Session() {
        PMRelease(session);
        PMTicketRelease(ticket);
    }
};

AccountingContext* context_with_codes() {
    AccountingContext* context = CreateAccountingContext();
    context->accountingSystem = kAccountingEnabled;
    CopyAccountingCode(context->jobUserID, "bench-user");
    CopyAccountingCode(context->jobAccountID, "bench-account");
    return context;
}

void BM_SyncWrite(benchmark::State& state) {
    Session session;
    AccountingContext* context = context_with_codes();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            SyncAccountingTicket(context, session.session, kPMSyncTicketFromPane));
}
BENCHMARK(BM_SyncWrite);

void BM_SyncRead(benchmark::State& state) {
    Session session;
    AccountingContext* context = context_with_codes();
    context->promptForEveryJob = 0; // so the two codes are read too
    SyncAccountingTicket(context, session.session, kPMSyncTicketFromPane);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            SyncAccountingTicket(context, session.session, kPMSyncPaneFromTicket));
}
BENCHMARK(BM_SyncRead);

} // namespace

BENCHMARK_MAIN();
