// The JavaScript binding, as built by make wasm into web/site.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

import * as marlix from '../site/marlix.mjs';

const source = (path) => readFileSync(new URL(path, import.meta.url), 'utf8');
// The tool's answers on the same inputs, as its command-line tests pin them.
const cli = (path) => source(`../../tests/cli/${path}`);
const cliBytes = (path) => new Uint8Array(readFileSync(new URL(`../../tests/cli/${path}`, import.meta.url)));
const jsonLines = (text) => text.trim().split('\n').map((line) => JSON.parse(line));
const example = (path) => source(`../../examples/film/${path}`);
const day01 = example('day01.ale');
const reelMap = [['DAY01_TA', 'DAY01_TAPE1']];
const palList = '001 A001 V C 10:00:00:00 10:00:02:00 01:00:00:00 01:00:02:00\n' +
                '002 A002 AA/V C 11:00:10:07 11:00:11:20 01:00:02:00 01:00:03:13\n' +
                '003 A001 V D 012 10:01:00:00 10:01:04:05 01:00:03:13 01:00:07:18\n';
const filmList = '001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n' +
                 '002 BX V C 02:00:00:00 02:00:00:10 01:00:01:00 01:00:01:10\n';
const snake = (name) => name.replace(/[A-Z]/g, (c) => `_${c.toLowerCase()}`);
const functions = Object.keys(marlix).filter((k) => typeof marlix[k] === 'function').sort();

// The Python module's functions, from its stubs.
// (An overloaded function is stubbed once per form.)
const python = [...new Set([...source('../../python/marlix.pyi').matchAll(/^def (\w+)\(/gm)]
                               .map((m) => m[1]))];
const camel = (name) => name.replace(/_([a-z0-9])/g, (_, c) => c.toUpperCase());
// Python's batch functions have no counterpart: JavaScript maps over one.
// The diagnostics sink stands for Python's logger.
const pythonOnly = ['label_texts', 'label_samples', 'tc_texts', 'tc_frames_batch'];
const jsOnly = ['onDiagnostic'];
// marlix.edl's functions: a file is read by the caller, a document carries
// its text.
const edlSource = source('../../python/marlix.pyi').split('class _EdlModule')[1].split('\nedl:')[0];
const pythonEdl = [...edlSource.matchAll(/@staticmethod\s+def (\w+)\(/g)].map((m) => m[1]);

test('the functions are the Python module\'s, camelCase', () => {
    const expected = python.filter((name) => !pythonOnly.includes(name)).map(camel).concat(jsOnly);
    assert.deepEqual(functions, expected.sort());
    const edl = Object.keys(marlix.edl).sort();
    assert.deepEqual(edl, pythonEdl.filter((name) => !['read_file', 'write'].includes(name)).sort());
});

test('the declarations name every function', () => {
    const declared = [...new Set([...source('../marlix.d.mts').matchAll(/^export function (\w+)\(/gm)]
                                     .map((m) => m[1]))].sort();
    assert.deepEqual(declared, functions);
    assert.match(source('../marlix.d.mts'), /^export const edl: \{$/m);
});

test('answers', () => {
    const cases = [
        [() => marlix.labelText('P', 93079), ' 01:02:03.04'],
        [() => marlix.labelText(25, 0), ' 00:00:00.00'],
        [() => marlix.labelText('F35', 1000, { prefix: 'KJ 12 3456' }), 'KJ1234560015+10'],
        [() => marlix.labelSample('F35', 'KJ 12 3456 0015+10'), 1000],
        [() => marlix.labelSample('P', '10:00:00:99', { strict: false }), 900099],
        [() => marlix.tcText(-1, 25), '-00:00:00:01'],
        [() => marlix.tcText(2160000, 25, { wrap: false }), '24:00:00:00'],
        [() => marlix.tcFrames('00:01:00;02', '29.97df'), 1800],
        [() => marlix.tcFrames(' 01:00:00.00', 25, { strict: false }), 90000],
        // Additions wrap on the clock, whatever their size, unless told not to.
        [() => marlix.tcAdd('00:00:02:00', -75, 25), '23:59:59:00'],
        [() => marlix.tcAdd('00:00:02:00', -75, 25, { wrap: false }), '-00:00:01:00'],
        [() => marlix.tcAdd('23:59:59;29', '00:00:00;01', '29.97df'), '00:00:00;00'],
        [() => marlix.tcAdd('00:00:00:00', 10n ** 30n + 1n, 25), '23:06:40:01'],
        // Durations run across midnight unless signed.
        [() => marlix.tcDuration('23:59:50;00', '00:00:05;00', '29.97df'), 450],
        [() => marlix.tcDuration('01:00:00:00', '00:59:59:00', 25, { signed: true }), -25],
        [() => marlix.tcConvert('01:00:00:00', 25, '29.97df'), '01:00:00;00'],
        [() => marlix.tcConvert('00:00:00:01', 25, 24, { method: 'frame' }), '00:00:00:01'],
        [() => marlix.tcConvert('00:00:00:04', 24, 30, { method: 'pulldown', sync: '00:00:00:00=00:00:01:00' }),
         '00:00:01:05'],
        [() => marlix.pull('01:00:00:02', 'F35', 29.97, 'KJ 12 3456 0000+00=01:00:00:00'),
         ['KJ1234560000+01', true]],
        [() => marlix.xlate(1, 'Playout25p', 'Audio', { projectRate: '25' }), 1.0416666666666667],
        [() => marlix.cadence('24:30i').join(''), 'AABBBCCDDD'],
        // The tool's pull --footage 12+00 --ink '0123 0001+00'.
        [() => marlix.pull('01:00:00:02', 'F35', 29.97, 'KU2290121234+00=01:00:00:00',
                           { footage: '12+00', ink: '0123 0001+00' }),
         ['KU2290121234+01', true, '0012.01', '01230001+01']],
        [() => marlix.pull('01:00:00:00', 'F35', 29.97, 'KU2290121234+00=01:00:00:00', { ink: '0123 0001+00' }),
         ['KU2290121234+00', false, null, '01230001+00']],
    ];
    for (const [call, expected] of cases) assert.deepEqual(call(), expected, call.toString());
});

test('every refusal is an Error with the reason', () => {
    const cases = [
        [() => marlix.labelSample('P', '10:00:00:99'), /^'10:00:00:99': .*frames 99 is not below 25$/],
        [() => marlix.labelText('P', 2 ** 31), /^sample 2147483648 does not fit 32 bits$/],
        [() => marlix.labelText(true, 0), /label type is a name/],
        [() => marlix.labelText('nope', 0), /'nope'/],
        [() => marlix.labelText('F35', 0, { prefix: 'K' }), /^prefix 'K': /],
        [() => marlix.tcFrames('00:01:00;00', '29.97df'), /dropped label/],
        [() => marlix.tcText(0, '26'), /^'26' is not a frame rate \(/],
        [() => marlix.tcAdd('00:00:00:00', 'x', 25), /^'x': not a timecode/],
        [() => marlix.tcAdd('00:00:00:00', 1.5, 25), /^framesOrTc is a frame count/],
        [() => marlix.tcAdd('00:00:00:00', 2 ** 31, 25, { wrap: false }), /range/],
        [() => marlix.tcAdd('00:00:00:00', 2n ** 64n, 25, { wrap: false }), /^frames: /],
        [() => marlix.tcDuration('00:00:00:00', '00:00:00:00', 25, { signed: 1 }), /signed is true or false/],
        [() => marlix.tcConvert('01:00:00:00', 25, 30, { method: 'pulldown' }), /no 2:3 pulldown/],
        [() => marlix.tcConvert('01:00:00:00', 25, 30, { sync: '0=0' }), /^sync goes with method 'pulldown'$/],
        [() => marlix.pull('01:00:00:00', 'P', 29.97, 'x=01:00:00:00'), /keycode/],
        [() => marlix.pull('00:00:00:00', 'F35', 29.97, 'KJ 12 3456 0000+00=01:00:00:00'), /^'00:00:00:00': /],
        [() => marlix.xlate(1, 'Film', 'Nope'), /^toMedium: 'Nope' is not a medium$/],
        [() => marlix.xlate(1, 'Film', 'Audio', { sequence: 2 ** 40 }), /sequence takes a phase/],
        [() => marlix.xlate(1, 'Film', 'Audio', { speed: 1 }), /no option speed/],
        [() => marlix.cadence('24:30i', 99), /^phase 99 of 24:30i: 0\.\.4$/],
        [() => marlix.pull('01:00:00:00', 'F353', 24, 'KU2290121234+00.1=01:00:00:00', { ink: '0123 0001+00' }),
         /^ink '0123 0001\+00': .*no ink number type/],
        [() => marlix.edl.read(3, 25), /^an EDL is a string or a Uint8Array, not 3$/],
        [() => marlix.edl.read('', '31'), /^'31' is not a frame rate \(/],
        [() => marlix.edl.convert(palList, 25, 24), /a method is needed/],
        [() => marlix.edl.convert(palList, 25, 24, { method: 'realtime', sync: '0=0' }),
         /^sync, reelSyncs and keepSources go with method 'pulldown'$/],
        [() => marlix.edl.convert(filmList, '23.976', '29.97', { method: 'pulldown', reelSyncs: { AX: '00:00:00:00=00:00:00:00' } }),
         /^line 2: event 002: reel BX has no pulldown sync/],
        [() => marlix.filmLists('', [], { rate: '29' }), /^'29' is not a frame rate$/],
        [() => marlix.filmLists('', [], { rate: 25, stock: 'P' }), /^'P' is no keycode stock$/],
        [() => marlix.filmLists('', [], { rate: 25, transfer: '3:2' }), /^'3:2' is no transfer \(24:25 or frame\)$/],
        [() => marlix.filmLists('', [day01], { rate: 25, leader: 'x' }), /^'x' is no footage FT\+FR of the stock$/],
        [() => marlix.filmLists('', [], { rate: 25, handles: -1 }), /^handles are frames 0 to 10000, not -1$/],
        [() => marlix.filmLists('', [], { rate: 25, dissolveLengths: [0] }), /^a dissolve length is 1 frame or more$/],
        [() => marlix.filmLists('', [], { rate: 25, handle: 1 }), /^filmLists has no option handle$/],
        [() => marlix.onDiagnostic('log'), /^onDiagnostic takes a function or null/],
    ];
    for (const [call, message] of cases) assert.throws(call, { name: 'Error', message }, call.toString());
});

test('EDLs read, check and write as the tool does', () => {
    // edl show --json of each construct's list; the canonical ones come back
    // byte for byte, as edl format gives them.
    for (const list of ['cuts', 'transitions', 'motion', 'channels', 'drop', 'file32']) {
        const doc = marlix.edl.read(cliBytes(`edl/${list}.edl`), 29.97);
        const shown = doc.edits.map(({ channelField, keyClip, ...rest }) =>
            Object.fromEntries(Object.entries(rest).map(([k, v]) => [snake(k), v])));
        assert.deepEqual(shown, jsonLines(cli(`edl/${list}.json`)), list);
        if (list !== 'drop') assert.equal(doc.text, cli(`edl/${list}.edl`), list);
    }
    // edl check: FILE:LINE: severity: EVENT: message.
    const doc = marlix.edl.read(cliBytes('edl/findings.edl'), '29.97');
    const event = (e) => (e === null ? '-' : String(e).padStart(3, '0'));
    assert.deepEqual(doc.findings.map((f) => `findings.edl:${f.line}: ${f.severity}: ${event(f.event)}: ${f.message}`),
                     cli('edl/findings.check').trimEnd().split('\n'));
    assert.equal(doc.ok, false);
    assert.equal(doc.latin1, true);
    const strict = marlix.edl.read(cliBytes('edl/findings.edl'), 29.97, { strict: true });
    assert.deepEqual(strict.findings.filter((f) => f.severity === 'error').map((f) => f.line), [4]);
    // edl convert --rate 25 --to 24 --method realtime, its list and its report.
    const { document, changed } = marlix.edl.convert(palList, 25, 24, { method: 'realtime' });
    assert.equal(document.text, '001  A001     V     C        10:00:00:00 10:00:02:00 01:00:00:00 01:00:02:00\n' +
                                '002  A002     AA/V  C        11:00:10:06 11:00:11:18 01:00:02:00 01:00:03:12\n' +
                                '003  A001     V     D    012 10:01:00:00 10:01:04:05 01:00:03:12 01:00:07:17\n');
    assert.deepEqual(changed.map((c) => [c.line, c.event, c.before, c.after, c.exact.toFixed(3)]),
                     [[2, 2, 38, 36, '36.480'], [3, 3, 105, 101, '100.800']]);
    assert.equal(changed[1].message, '105 frames become 101 (100.800 exact)');
    const video = marlix.edl.convert(filmList, '23.976', '29.97', {
        method: 'pulldown', reelSyncs: { AX: '00:00:00:00=00:00:00:00', BX: '02:00:00:00=02:00:00:00' } });
    assert.deepEqual(video.document.edits.map((e) => e.sourceIn), ['01:00:00:00', '02:00:00:00']);
});

test('film lists give the tool\'s rows, tables and CSV', () => {
    // cutlist --json --list all on the example reel.
    const lists = marlix.filmLists(example('reel1.edl'), [day01], { rate: 29.97, reelMap });
    const tool = jsonLines(cli('film/reel1.json'));
    const cell = (v) => (v === null ? '' : String(v));
    for (const table of lists.tables) {
        const rows = tool.filter((o) => o.list === table.list).map(({ list, ...cells }) => cells);
        assert.deepEqual(table.columns, Object.keys(rows[0]), table.list);
        assert.deepEqual(table.rows, rows.map((o) => Object.values(o).map(cell)), table.list);
    }
    assert.deepEqual(lists.tables.map((t) => t.list), ['cut', 'pull', 'missing', 'sound']);
    const cuts = tool.filter((o) => o.list === 'cut');
    assert.deepEqual(lists.cuts.map((c) => [c.event, c.keyIn, c.keyOut, c.frames, c.runningFeet, c.adjust]),
                     cuts.map((c) => [c.event, cell(c.key_in), cell(c.key_out), c.frames, c.running, c.adjust]));
    const totals = tool.find((o) => o.list === 'totals');
    assert.deepEqual([lists.totals.events, lists.totals.feetFrames, lists.totals.frames, lists.totals.runningTime],
                     [totals.events, totals.feet_frames, totals.frames, totals.running_time]);
    assert.deepEqual(lists.missing.map((m) => [m.event, m.reel, m.kind]), [[5, 'DAY02', 'no_clip']]);
    // The next version: cutlist --list dupe --csv --handles 4, --list optical
    // --csv --dissolve-lengths 20,30, --list audio, and the change list.
    const v2 = (options) => marlix.filmLists(example('reel1_v2.edl'), [day01], { rate: '29.97', reelMap, ...options });
    const csv = (lists, name) => lists.tables.find((t) => t.list === name)?.csv;
    assert.equal(csv(v2({ handles: 4 }), 'dupe'),
                 'labroll,camroll,clip,key_in,key_out,frames,events\nL01,A001,12A-1,KU2290121007+04,KU2290121009+03,32,1 3\n');
    const optical = v2({ dissolveLengths: [20, 30] });
    assert.equal(csv(optical, 'optical'), 'event,effect,print,length,centre,centre_feet,speed,side,reel,clip,key_in,key_out,frames,notes\n' +
        '2,dissolve,optical,24,01:00:04:12,6+10,30.0,out,DAY01_TA,12A-1,KU2290121009+00,KU2290121010+02,19,\n' +
        '2,dissolve,optical,24,01:00:04:12,6+10,30.0,in,DAY01_TA,14-3,KU2290132005+00,KU2290132006+02,19,\n' +
        '6,speed,optical,60,01:00:12:09,18+07,15.0,speed,DAY01_TA,14-3,KU2290132012+00,KU2290132013+07,24,\n');
    assert.equal(csv(optical, 'lab'), undefined);
    assert.equal(optical.opticals[0].outgoing.keyIn, 'KU2290121009+00');
    assert.equal(optical.audioEdl('REEL 1 V2'), 'TITLE: REEL 1 V2\nFCM: NON-DROP FRAME\n' +
        '001  S01      AA    C        17:20:02:00 17:20:06:00 01:00:00:00 01:00:04:00\n' +
        '002  S02      AA    C        18:02:33:25 18:02:36:27 01:00:04:00 01:00:07:02\n' +
        '003  S01      AA    C        17:20:05:00 17:20:06:00 01:00:07:02 01:00:08:02\n' +
        '005  S01      AA    C        17:21:15:07 17:21:17:14 01:00:09:02 01:00:11:09\n' +
        '006  S02      AA    C        18:02:38:15 18:02:39:15 01:00:11:09 01:00:13:09\n');
    // cutlist --json --list change: the fourth in reel order.
    const changes = v2({ previous: example('reel1.edl') });
    const change = csv(changes, 'change').split('\n');
    assert.equal(change[0].split(',').length, 16);
    assert.equal(change[9], 'reel,4,add,,12+09,201,3,DAY01_TA,12A-1,L01,A001,KU2290121007+08,KU2290121008+15,,,24');
    assert.deepEqual([changes.changes[3].kind, changes.changes[3].at], ['add', 201]);
    assert.equal(changes.changesByReel.length, changes.changes.length);
    assert.deepEqual(v2({}).changes, []);
    // A log's findings carry its index; the run's, their event.
    const bad = 'Heading\nFPS\t29.97\nColumn\nName\tTape\tStart\tEnd\tPullin\nData\nb\tT3\t01:00:00:00\t01:00:20:00\tQ\n';
    const found = marlix.filmLists('001 DAY01 V C 01:00:01:00 01:00:04:00 01:00:00:00 01:00:03:00\n', [day01, bad], { rate: 29.97 });
    assert.deepEqual(found.findings.filter((f) => f.severity !== 'note').map((f) => [f.log, f.event, f.line, f.kind]),
                     [[1, -1, 6, 'bad_pullin'], [1, -1, 0, 'missing_key_number'], [-1, 1, 1, 'reel_by_prefix']]);
});

test('diagnostics go to the function given, and back to standard error', () => {
    const seen = [];
    marlix.onDiagnostic((text) => seen.push(text));
    assert.throws(() => marlix.xlate(1, 'Film', '25i', { projectRate: '29.97' }), { message: /^no translation/ });
    marlix.onDiagnostic(() => { throw new Error('dropped'); });
    assert.throws(() => marlix.xlate(1, 'Film', '25i', { projectRate: '29.97' }), { message: /^no translation/ });
    marlix.onDiagnostic(null);
    assert.deepEqual(seen, ['mPosn_Xlate(): Invalid film->vid conversion for project - cookie<invalid>']);
});
