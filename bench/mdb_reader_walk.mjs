#!/usr/bin/env node
// The structure walk mdb-reader can make, for bench/compare_peers.sh: every
// table (system tables too) with its columns, as `strux dump` and
// `mdb-schema` read them. Prints the table and column counts.
//
//   node mdb_reader_walk.mjs FILE
//
// mdb-reader is looked for in $STRUX_MDB_READER (the package's folder) and
// then as an ordinary import.
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const file = process.argv[2];
if (!file) {
    console.error("usage: node mdb_reader_walk.mjs FILE");
    process.exit(2);
}
const place = process.env.STRUX_MDB_READER;
const { default: MDBReader } = await import(
    place ? pathToFileURL(join(place, "lib/node/index.js")).href : "mdb-reader");
const reader = new MDBReader(readFileSync(file));
let tables = 0, columns = 0;
for (const name of reader.getTableNames({ normalTables: true, systemTables: true, linkedTables: true })) {
    try {
        columns += reader.getTable(name).getColumns().length;
    } catch {
        // a linked table or one mdb-reader cannot read: counted by name only
    }
    ++tables;
}
console.log(`${tables} tables, ${columns} columns`);
