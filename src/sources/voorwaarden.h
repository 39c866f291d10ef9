#pragma once
// The fourteen step and option predicates: which import options the options
// step offers and ticks, which target kinds the target step asks for, which
// selection steps the main window shows, and whether the targets keep their
// hardware combinations in the new format. Window-free functions over the
// program-wide state; the steps, the main window and the transfer call them.
//
// Inputs (globals()):
//   gBronnenGeselecteerd  the sources chosen in step 2, visited in their order;
//                         a source counts only while its Geselecteerd flag is set;
//   gDoelBestanden        the targets of step 3 (Soort 0 pt, 1 opt, 2 lib, 3 wkv);
//   gBibliotheekModus     library mode, set by step 3.
// "Some selected source with X" below means: at least one source of
// gBronnenGeselecteerd with Geselecteerd set has X. A "database source" is a Jet
// or SQLite database of the design product (IsJetDatabase or IsSQLite); a
// "supplier file" is any other source (CSV, Excel, XML export).
//
// Every predicate is evaluated afresh at each call (the state may have changed
// since the last); none changes anything, except that IsDoelNieuweFormaatCombies
// opens and closes the options target to read its format (and shows the
// handle's own message when it cannot be opened).

namespace supplink {

// Some selected source of kind 0 (articles).
bool IsBronArtikelenGeselecteerd();
// No selected source of kind 0 is anything but a price update (true also when there is no article
// source at all).
bool IsAlleenPrijsUpdate();
// The targets keep hardware combinations in the new format: an options target (kind 1) whose database
// answers NieuweFormaatCombies (a target that cannot be opened counts as the older format), or, in
// library mode, a library target (kind 2; the walk stops there, opening nothing after it).
bool IsDoelNieuweFormaatCombies();
// Not in library mode, and some selected source of kind 1 (hardware tables and combinations).
bool IsBronTabellenGeselecteerd();
// Some selected source of kind 1 that is a database source, or a supplier file of kind 1 whose
// combination type is 0 (combinations).
bool IsHSTabellenMogelijk();
// Some selected source of kind 1 that is a database source, or a supplier file of kind 1 whose
// combination type is 1 (choices).
bool IsHSKeuzesMogelijk();
// Some selected source of kind 2 that is an SQLite database, or a supplier file of kind 1 whose
// combination type is 0.
bool IsLibHSCombiesMogelijk();
// Some selected source of kind 2 that is an SQLite database, or a supplier file of kind 1 whose
// combination type is 1.
bool IsLibHSKeuzesMogelijk();
// Some selected source of kind 3 (work preparation).
bool IsBronWKVGeselecteerd();
// Some selected source of kind 1 whose DBType is exactly "OPTIONS" (case counts).
bool IsBronOptionsDatabaseGeselecteerd();
// Some selected source of kind 2 (library).
bool IsBronBibliotheekGeselecteerd();
// Some selected source of kind 2 of format 3.5 or later, or library mode with at least one source
// in the list (false for an empty list, also in library mode).
bool IsLibHangSluitwerkMogelijk();
// Some selected source that allows a selection by article group.
bool IsArtikelGroepSelectieMogelijk();
// Hardware choices can be offered: with targets in the new format some selected source of kind 1,
// otherwise some selected source of kind 1 whose DBType is exactly "OPTIONS".
bool IsHangSluitKeuzesMogelijk();

} // namespace supplink
