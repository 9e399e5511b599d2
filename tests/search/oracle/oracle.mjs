// Differential test of RegExp against Node.js's RegExp on the subset both dialects share.
// Usage: node oracle.mjs PATH_TO_regexp_probe
// Reads cases.json beside this script (hand-written cases, generated families and the
// whitelist of known dialect differences), runs every case through Node and through the probe,
// and compares match values, positions, sub-matches, replace results and pattern errors.
// Whitelisted cases must differ from Node and give the result the dialect expects.
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';

const probe = process.argv[2];
if (!probe) {
    console.error('usage: node oracle.mjs PATH_TO_regexp_probe');
    process.exit(2);
}
const data = JSON.parse(readFileSync(new URL('./cases.json', import.meta.url), 'utf8'));
const defaultReplacement = '<$&>';

function expandFamilies(families) {
    const cases = [];
    for (const family of families) {
        for (const p of family.patterns)
            for (const t of family.texts)
                for (const f of family.flags)
                    for (const r of family.replacements ?? [defaultReplacement])
                        cases.push({ p, f, t, r, family: family.name });
    }
    return cases;
}

const key = (c) => JSON.stringify([c.p, c.f, c.t, c.r ?? defaultReplacement]);

// What Node makes of a case, in the probe's answer format.
function runNode(c) {
    let re;
    try {
        re = new RegExp(c.p, c.f);
    } catch (e) {
        return { ok: false, e: e.message };
    }
    const matches = [];
    const add = (m) => matches.push({ i: m.index, v: m[0], s: m.slice(1).map((s) => s ?? null) });
    if (re.global) {
        let m;
        while ((m = re.exec(c.t)) !== null) {
            add(m);
            if (m[0] === '') re.lastIndex++;  // one code unit on after an empty match
        }
    } else {
        const m = re.exec(c.t);
        if (m) add(m);
    }
    return { ok: true, m: matches, r: c.t.replace(new RegExp(c.p, c.f), c.r) };
}

// Only whether the pattern is accepted is compared for errors: the messages differ.
function comparable(result) {
    return result.ok ? JSON.stringify({ m: result.m, r: result.r }) : 'error';
}

function expectedOf(entry) {
    const e = entry.expect;
    if (e.error) return 'error';
    return JSON.stringify({ m: e.m, r: e.r });
}

const whitelist = new Map(data.whitelist.map((w) => [key(w), w]));
const seen = new Set();
const cases = [];
for (const c of [...data.cases, ...expandFamilies(data.families), ...data.whitelist]) {
    const full = { ...c, r: c.r ?? defaultReplacement };
    if (seen.has(key(full))) continue;
    seen.add(key(full));
    cases.push(full);
}

// One line per case for the probe: the flags, then pattern, text and replacement, each as "="
// and four hex digits per UTF-16 code unit, separated by spaces.
const hex = (s) => '=' + [...Array(s.length).keys()].map((k) => s.charCodeAt(k).toString(16).padStart(4, '0')).join('');
const input = cases.map((c) => [c.f || '-', hex(c.p), hex(c.t), hex(c.r)].join(' ')).join('\n');
const run = spawnSync(probe, [], { input, maxBuffer: 256 * 1024 * 1024, encoding: 'utf8' });
if (run.status !== 0) {
    console.error(`regexp_probe failed (status ${run.status}, signal ${run.signal})`);
    console.error(run.stderr);
    process.exit(1);
}
const answers = run.stdout.split('\n').filter((line) => line !== '').map((line) => JSON.parse(line));
if (answers.length !== cases.length) {
    console.error(`regexp_probe answered ${answers.length} of ${cases.length} cases`);
    process.exit(1);
}

const show = (x) => JSON.stringify(x);
let agreed = 0;
let whitelisted = 0;
const failures = [];
cases.forEach((c, n) => {
    const ours = answers[n];
    const node = runNode(c);
    const label = `${show(c.p)} flags ${show(c.f)} text ${show(c.t)} replacement ${show(c.r)}`;
    if (ours.ok && ours.agree !== true) {
        failures.push(`${label}\n    count or forEachMatch disagree with execute`);
        return;
    }
    const entry = whitelist.get(key(c));
    if (entry) {
        if (comparable(ours) !== expectedOf(entry))
            failures.push(`${label}\n    whitelisted (${entry.reason})\n    expected ${expectedOf(entry)}\n    ours     ${comparable(ours)}`);
        else if (comparable(node) === comparable(ours))
            failures.push(`${label}\n    whitelisted (${entry.reason}) but Node agrees now: drop it from the whitelist`);
        else
            ++whitelisted;
        return;
    }
    if (comparable(node) === comparable(ours)) {
        ++agreed;
        return;
    }
    failures.push(`${label}${c.family ? ` [${c.family}]` : ''}\n    node ${node.ok ? comparable(node) : `error: ${node.e}`}\n    ours ${ours.ok ? comparable(ours) : `error: ${ours.e}`}`);
});

for (const f of failures) console.log(`FAIL ${f}`);
console.log(`regexp oracle (Node ${process.version}): ${cases.length} cases, ${agreed} agree, ` +
            `${whitelisted} whitelisted, ${failures.length} failed`);
process.exit(failures.length === 0 ? 0 : 1);
