// The calculator page: each tool reads its inputs as they change and
// answers through the library's JavaScript binding. A refusal is shown
// next to the field it is about; the library's own messages go to the
// page's message list.
import * as marlix from './marlix.mjs';

const $ = (id) => document.getElementById(id);

// ---------------------------------------------------------------------------
// Messages, errors and outputs

// The library's messages: under the tool whose answer they come with,
// or in the page's list when no tool is answering.
const diagnostics = $('diagnostics');
let answering = null;  // the section of the tool computing now

function messagesOf(section) {
    let list = section.querySelector('ul.messages');
    if (!list) {
        list = document.createElement('ul');
        list.className = 'messages';
        list.setAttribute('aria-live', 'polite');
        section.append(list);
    }
    return list;
}

function diagnostic(text) {
    const list = answering ? messagesOf(answering) : diagnostics;
    const item = document.createElement('li');
    item.textContent = text;
    list.append(item);
    while (list.children.length > 50) list.firstElementChild.remove();
}
if (typeof marlix.onDiagnostic === 'function') marlix.onDiagnostic(diagnostic);

// Runs compute() as the given section's tool: its earlier messages go.
function answeringFor(section, compute) {
    section.querySelector('ul.messages')?.replaceChildren();
    answering = section;
    try {
        compute();
    } finally {
        answering = null;
    }
}

// The error line under a field, made on first use and tied to the field
// for screen readers.
function errorLine(field) {
    let line = $(`${field.id}-error`);
    if (!line) {
        line = document.createElement('p');
        line.id = `${field.id}-error`;
        line.className = 'error';
        line.setAttribute('aria-live', 'polite');
        field.closest('.field').append(line);
        field.setAttribute('aria-describedby', line.id);
    }
    return line;
}

function setError(field, message) {
    const line = errorLine(field);
    line.textContent = message ?? '';
    line.hidden = !message;
    field.setAttribute('aria-invalid', message ? 'true' : 'false');
}

class Refusal extends Error {
    constructor(field, message) {
        super(message);
        this.field = field;
    }
}

// The answer of call(), or a Refusal that blames field.
function blame(field, call) {
    try {
        return call();
    } catch (e) {
        throw new Refusal(field, e.message);
    }
}

// Runs a tool: clears its fields' errors, then shows the one refusal (on
// its field) or the answer. Outputs are emptied on a refusal.
function tool(fields, outputs, compute) {
    let timer = 0;
    const section = fields[0].closest('section');
    const run = () => {
        clearTimeout(timer);
        delete section.dataset.pending;
        for (const f of fields) setError(f, null);
        try {
            answeringFor(section, compute);
        } catch (e) {
            if (!(e instanceof Refusal)) throw e;
            for (const o of outputs) o.textContent = '';
            setError(e.field, e.message);
        }
    };
    // A pasted list is read again once typing pauses, not at every key;
    // data-pending marks the section until then.
    const soon = () => {
        clearTimeout(timer);
        section.dataset.pending = 'true';
        timer = setTimeout(run, 150);
    };
    for (const f of fields) {
        f.addEventListener('input', f.tagName === 'TEXTAREA' ? soon : run);
        f.addEventListener('change', run);
    }
    return run;
}

// ---------------------------------------------------------------------------
// Choices

const RATES = [
    ['23.976', '23.976'], ['24', '24'], ['25', '25'], ['29.97', '29.97 NDF'],
    ['29.97df', '29.97 DF'], ['30', '30'], ['47.952', '47.952'], ['48', '48'], ['50', '50'],
    ['59.94', '59.94 NDF'], ['59.94df', '59.94 DF'], ['60', '60'],
];

// Keycode types with the perforations of a frame and the footage and ink
// types that count the same film (none where the gauge has no such count).
const STOCKS = [
    { type: 'F35', name: '35 mm 4-perf', perfs: 4, feet: 'foot_35_label', ink: 'I35' },
    { type: 'F35_5', name: '35 mm 4-perf, 5-digit count', perfs: 4, feet: 'foot_35_label', ink: 'I35' },
    { type: 'F35_6', name: '35 mm 4-perf, 6-digit count', perfs: 4, feet: 'foot_35_label', ink: 'I35' },
    { type: 'F353', name: '35 mm 3-perf', perfs: 3, feet: 'foot_353_label', ink: null },
    { type: 'F352', name: '35 mm 2-perf', perfs: 2, feet: null, ink: null },
    { type: 'F358', name: '35 mm 8-perf', perfs: 8, feet: null, ink: null },
    { type: 'F16', name: '16 mm', perfs: 1, feet: 'foot_16_label', ink: 'I16' },
    { type: 'F16_5', name: '16 mm, 5-digit count', perfs: 1, feet: 'foot_16_label', ink: 'I16' },
    { type: 'F16_6', name: '16 mm, 6-digit count', perfs: 1, feet: 'foot_16_label', ink: 'I16' },
    { type: 'F655_80', name: '65 mm 5-perf, 80-perf key', perfs: 5, feet: null, ink: null },
    { type: 'F658_80', name: '65 mm 8-perf, 80-perf key', perfs: 8, feet: null, ink: null },
    { type: 'F6510_80', name: '65 mm 10-perf, 80-perf key', perfs: 10, feet: null, ink: null },
    { type: 'F655_120', name: '65 mm 5-perf, 120-perf key', perfs: 5, feet: null, ink: null },
    { type: 'F658_120', name: '65 mm 8-perf, 120-perf key', perfs: 8, feet: null, ink: null },
    { type: 'F6510_120', name: '65 mm 10-perf, 120-perf key', perfs: 10, feet: null, ink: null },
    { type: 'F6515_120', name: '65 mm 15-perf, 120-perf key', perfs: 15, feet: null, ink: null },
];
const stockOf = (type) => STOCKS.find((s) => s.type === type);

function fillChoices() {
    for (const select of document.querySelectorAll('select.rate')) {
        const only = select.dataset.only?.split(' ');
        for (const [value, name] of RATES) {
            if (only && !only.includes(value)) continue;
            select.add(new Option(name, value, false, value === select.dataset.default));
        }
    }
    for (const select of document.querySelectorAll('select.stock')) {
        if (select.dataset.blank) select.add(new Option(select.dataset.blank, ''));
        for (const s of STOCKS) select.add(new Option(`${s.type} — ${s.name}`, s.type));
        if (!select.dataset.blank) select.value = 'F35';
    }
}

// ---------------------------------------------------------------------------
// Tabs: arrow keys move between them, as in a tab list.

function tabs() {
    const list = [...document.querySelectorAll('[role=tab]')];
    const show = (tab, focus) => {
        for (const t of list) {
            const on = t === tab;
            t.setAttribute('aria-selected', String(on));
            t.tabIndex = on ? 0 : -1;
            $(t.getAttribute('aria-controls')).hidden = !on;
        }
        if (focus) tab.focus();
        history.replaceState(null, '', `#${tab.getAttribute('aria-controls')}`);
    };
    list.forEach((tab, k) => {
        tab.addEventListener('click', () => show(tab, false));
        tab.addEventListener('keydown', (e) => {
            const step = { ArrowRight: 1, ArrowLeft: -1 }[e.key];
            if (step !== undefined) show(list[(k + step + list.length) % list.length], true);
            else if (e.key === 'Home') show(list[0], true);
            else if (e.key === 'End') show(list[list.length - 1], true);
            else return;
            e.preventDefault();
        });
    });
    const start = list.find((t) => `#${t.getAttribute('aria-controls')}` === location.hash);
    if (start) show(start, false);
}

// ---------------------------------------------------------------------------
// Timecode

function timecodeTools() {
    const rate = $('tc-rate');

    const check = $('tc-check');
    const checkOut = $('tc-check-out');
    const runCheck = tool([rate, check], [checkOut], () => {
        checkOut.textContent = String(blame(check, () => marlix.tcFrames(check.value, rate.value)));
    });

    const a = $('tc-add-a'), op = $('tc-add-op'), b = $('tc-add-b'), wrap = $('tc-add-wrap');
    const addOut = $('tc-add-out');
    const runAdd = tool([rate, a, op, b, wrap], [addOut], () => {
        const by = b.value.trim();
        let frames;
        if (/^[+-]?\d+$/.test(by)) {
            frames = BigInt(by);
            // As the tool reads a count: signed 64-bit.
            if (frames < -(2n ** 63n) || frames >= 2n ** 63n)
                throw new Refusal(b, `'${by}': frames out of the 64-bit range`);
        } else {
            frames = BigInt(blame(b, () => marlix.tcFrames(by, rate.value)));
        }
        if (op.value === '-') frames = -frames;
        blame(a, () => marlix.tcFrames(a.value, rate.value));
        addOut.textContent = blame(b, () => marlix.tcAdd(a.value, frames, rate.value,
                                                          { wrap: wrap.checked }));
    });

    const durIn = $('tc-dur-in'), durOut = $('tc-dur-out');
    const durFrames = $('tc-dur-out-frames'), durTc = $('tc-dur-out-tc');
    const runDuration = tool([rate, durIn, durOut], [durFrames, durTc], () => {
        blame(durIn, () => marlix.tcFrames(durIn.value, rate.value));
        const n = blame(durOut, () => marlix.tcDuration(durIn.value, durOut.value, rate.value));
        durFrames.textContent = String(n);
        durTc.textContent = marlix.tcText(n, rate.value, { wrap: false });
    });

    const conv = $('tc-conv'), to = $('tc-conv-to'), method = $('tc-conv-method');
    const sync = $('tc-conv-sync'), convOut = $('tc-conv-out');
    const runConvert = tool([rate, conv, to, method, sync], [convOut], () => {
        sync.disabled = method.value !== 'pulldown';
        blame(conv, () => marlix.tcFrames(conv.value, rate.value));
        const options = { method: method.value, sync: sync.disabled ? null : sync.value.trim() || null };
        const field = method.value === 'pulldown' && sync.value.trim() ? sync : to;
        convOut.textContent = blame(field, () => marlix.tcConvert(conv.value, rate.value, to.value,
                                                                  options));
    });

    runCheck();
    runAdd();
    runDuration();
    runConvert();
}

// ---------------------------------------------------------------------------
// Film: key number, feet+frames, frame count and ink number of one frame.

function filmTools() {
    const stock = $('film-stock'), prefix = $('film-prefix'), inkPrefix = $('film-ink-prefix');
    const key = $('film-key'), feet = $('film-feet'), frames = $('film-frames'), ink = $('film-ink');
    const counts = [key, feet, frames, ink];
    let source = key;  // the field the others follow

    const sampleOf = (s) => {
        switch (source) {
        case key: return blame(key, () => marlix.labelSample(s.type, key.value));
        case feet: return blame(feet, () => marlix.labelSample(s.feet, feet.value));
        case ink: return blame(ink, () => marlix.labelSample(s.ink, ink.value));
        default: {
            const n = blame(frames, () => marlix.labelSample('FR', frames.value)) * s.perfs;
            if (Math.abs(n) > 2 ** 31 - 1)
                throw new Refusal(frames, `${frames.value.trim()} frames of ${s.perfs} perforations are past the 32-bit count`);
            return n;
        }
        }
    };

    const run = () => {
        for (const f of [prefix, inkPrefix, ...counts]) setError(f, null);
        const s = stockOf(stock.value);
        feet.disabled = !s.feet;
        ink.disabled = !s.ink;
        inkPrefix.disabled = !s.ink;
        if (!s.feet && source === feet) source = key;
        if (!s.ink && source === ink) source = key;
        try {
            answeringFor($('film'), () => {
                blame(prefix, () => marlix.labelText(s.type, 0, { prefix: prefix.value }));
                if (s.ink) blame(inkPrefix, () => marlix.labelText(s.ink, 0, { prefix: inkPrefix.value }));
                show(sampleOf(s), s);
            });
        } catch (e) {
            if (!(e instanceof Refusal)) throw e;
            setError(e.field, e.message);
            // What the other fields showed no longer answers what was typed.
            for (const f of counts) if (f !== source) f.value = '';
        }
    };
    // Every field but the one typed in shows the sample.
    const show = (sample, s) => {
        const put = (field, text) => { if (field !== source) field.value = text; };
        const at = (type, options) => blame(source, () => marlix.labelText(type, sample, options));
        put(key, at(s.type, { prefix: prefix.value }));
        put(feet, s.feet ? at(s.feet).trim() : '');
        put(frames, sample % s.perfs === 0
                        ? blame(source, () => marlix.labelText('FR', sample / s.perfs)).trim()
                        : `${Math.floor(sample / s.perfs)} + ${sample % s.perfs} perf`);
        put(ink, s.ink ? at(s.ink, { prefix: inkPrefix.value }) : '');
    };
    for (const f of counts) f.addEventListener('input', () => { source = f; run(); });
    for (const f of [stock, prefix, inkPrefix]) {
        f.addEventListener('input', run);
        f.addEventListener('change', run);
    }
    run();
}

// ---------------------------------------------------------------------------
// Pull list, drawn as a cadence strip.

const LETTERS = 'ABCD';

function pullTools() {
    const stock = $('pull-stock'), rate = $('pull-rate'), syncKey = $('pull-sync-key');
    const syncTc = $('pull-sync-tc'), from = $('pull-from'), count = $('pull-count');
    const footage = $('pull-footage'), ink = $('pull-ink');
    const strip = $('pull-strip'), body = $('pull-table').querySelector('tbody');
    const fields = [stock, rate, syncKey, syncTc, from, count, footage, ink];

    const run = tool(fields, [], () => {
        strip.replaceChildren();
        strip.setAttribute('aria-label', 'No pull list');
        body.replaceChildren();
        const s = stockOf(stock.value);
        const keyAt = (text) => marlix.labelSample(s.type, text) / s.perfs;
        const a = blame(syncKey, () => keyAt(syncKey.value));
        blame(syncTc, () => marlix.tcFrames(syncTc.value, rate.value));
        const start = blame(from, () => marlix.tcFrames(from.value, rate.value));
        const n = Number(count.value);
        if (!Number.isInteger(n) || n < 1 || n > 240) throw new Refusal(count, 'give 1 to 240 frames');
        const options = {};
        if (footage.value.trim()) options.footage = footage.value.trim();
        if (ink.value.trim()) options.ink = ink.value.trim();
        const extra = 'footage' in options || 'ink' in options;
        const sync = `${syncKey.value.trim()}=${syncTc.value.trim()}`;
        const letter = (frame) => LETTERS[(((frame - a) % 4) + 4) % 4];
        $('pull-table').classList.toggle('with-footage', 'footage' in options);
        $('pull-table').classList.toggle('with-ink', 'ink' in options);
        const summary = [];
        const at = (tc, opts, field) =>
            blame(field, () => opts ? marlix.pull(tc, s.type, rate.value, sync, opts)
                                    : marlix.pull(tc, s.type, rate.value, sync));
        for (let k = 0; k < n; ++k) {
            const tc = marlix.tcText(start + k, rate.value);
            if (k === 0 && 'footage' in options) at(tc, { footage: options.footage }, footage);
            if (k === 0 && 'ink' in options) at(tc, { ink: options.ink }, ink);
            // A frame is refused when its film runs off the sync point's roll.
            const answer = at(tc, extra ? options : null, k === 0 ? from : count);
            const [keycode, split] = answer;
            const first = letter(keyAt(keycode));
            const second = split ? letter(keyAt(keycode) + 1) : first;
            const frame = document.createElement('span');
            frame.className = split ? 'frame split' : 'frame';
            frame.title = `${tc}: ${first}${second}`;
            for (const l of [first, second]) {
                const box = document.createElement('span');
                box.className = 'field-box';
                box.textContent = l;
                frame.append(box);
            }
            strip.append(frame);
            summary.push(first + second);

            const row = body.insertRow();
            for (const [text, cls] of [[tc], [first], [keycode], [answer[2] ?? '', 'opt-footage'],
                                       [answer[3] ?? '', 'opt-ink'], [split ? `${first} ${second}` : first]]) {
                const cell = row.insertCell();
                cell.textContent = text;
                if (cls) cell.className = cls;
            }
            if (split) row.className = 'split';
        }
        strip.setAttribute('aria-label', `Fields by video frame: ${summary.join(' ')}`);
    });
    run();
}

// ---------------------------------------------------------------------------
// Files: dropped on a text area, or chosen, are read as text into it.

// Lists and logs run to a few megabytes; a larger file is no list.
const LARGEST_FILE = 32 << 20;

function readInto(area, file) {
    if (file.size > LARGEST_FILE) {
        setError(area, `${file.name} is ${(file.size / 1048576).toFixed(0)} MB: too large for a list or a log`);
        return;
    }
    file.text().then((text) => {
        area.value = text;
        area.dispatchEvent(new Event('input'));
    }, (e) => setError(area, `${file.name} cannot be read: ${e.message}`));
}

function dropTargets() {
    for (const zone of document.querySelectorAll('.drop')) {
        const area = $(zone.dataset.drop);
        zone.addEventListener('dragover', (e) => { e.preventDefault(); zone.classList.add('over'); });
        zone.addEventListener('dragleave', () => zone.classList.remove('over'));
        zone.addEventListener('drop', (e) => {
            e.preventDefault();
            zone.classList.remove('over');
            const file = e.dataTransfer.files[0];
            if (file) readInto(area, file);
        });
    }
}

// A table of rows (arrays of texts) under column names.
function table(columns, rows, caption) {
    const t = document.createElement('table');
    if (caption) t.createCaption().textContent = caption;
    const head = t.createTHead().insertRow();
    for (const c of columns) {
        const th = document.createElement('th');
        th.textContent = c;
        head.append(th);
    }
    const body = t.createTBody();
    for (const r of rows) {
        const row = body.insertRow();
        for (const text of r) row.insertCell().textContent = text;
    }
    return t;
}

// ---------------------------------------------------------------------------
// EDL check: the events as a table, the findings on their lines.

const MOST_ROWS = 5000;  // a table longer than this is no help to read

function edlTools() {
    const rate = $('edl-rate'), area = $('edl-text'), file = $('edl-file');
    const summary = $('edl-summary'), body = $('edl-table').querySelector('tbody');
    file.addEventListener('change', () => { if (file.files[0]) readInto(area, file.files[0]); });
    const run = tool([rate, area], [summary], () => {
        body.replaceChildren();
        if (!area.value.trim()) {
            summary.textContent = 'Paste or drop a list to check it.';
            return;
        }
        const doc = blame(area, () => marlix.edl.read(area.value, rate.value));
        // Findings in line order, each shown after the rows before it.
        const findings = [...doc.findings].sort((x, y) => x.line - y.line);
        const findingRow = (f) => {
            const row = body.insertRow();
            row.className = `finding ${f.severity}`;
            row.insertCell().textContent = String(f.line);
            const cell = row.insertCell();
            cell.colSpan = 9;
            cell.textContent = `${f.severity}: ${f.message}`;
        };
        let next = 0, rows = 0;
        for (const e of doc.edits) {
            if (rows >= MOST_ROWS) break;
            while (next < findings.length && findings[next].line < e.line) findingRow(findings[next++]);
            const row = body.insertRow();
            row.dataset.line = String(e.line);
            for (const text of [e.line, e.event, e.reel, e.channelField, e.transition, e.sourceIn,
                                e.sourceOut, e.recordIn, e.recordOut, e.clip ?? ''])
                row.insertCell().textContent = String(text);
            let worst = '';
            while (next < findings.length && findings[next].line === e.line) {
                worst = worst === 'error' ? worst : findings[next].severity;
                findingRow(findings[next++]);
            }
            row.className = worst;
            ++rows;
        }
        while (next < findings.length && rows < MOST_ROWS) findingRow(findings[next++]);
        const errors = doc.findings.filter((f) => f.severity === 'error').length;
        const warnings = doc.findings.length - errors;
        const counted = (n, what) => `${n} ${what}${n === 1 ? '' : 's'}`;
        summary.textContent = `${doc.title ? `“${doc.title}”: ` : ''}${counted(doc.edits.length, 'edit')}, ` +
                              `${counted(errors, 'error')}, ${counted(warnings, 'warning')}` +
                              (rows < doc.edits.length ? `; the first ${rows} edits are shown` : '');
    });
    run();
}

// ---------------------------------------------------------------------------
// Film lists: an EDL matched back through its logs, each list a table with
// its CSV to download.

function listsTools() {
    const rate = $('lists-rate'), stock = $('lists-stock'), leader = $('lists-leader');
    const handles = $('lists-handles'), edlArea = $('lists-edl'), logArea = $('lists-log');
    const files = $('lists-files'), summary = $('lists-summary'), out = $('lists-tables');
    const reelMap = $('lists-reel-map');
    const moreLogs = $('lists-more-logs');
    let extraLogs = [];  // [name, text]: the logs after the one in the box
    const showExtraLogs = () => {
        moreLogs.replaceChildren();
        extraLogs.forEach(([name], k) => {
            const item = document.createElement('li');
            const drop = document.createElement('button');
            drop.type = 'button';
            drop.textContent = 'Remove';
            drop.setAttribute('aria-label', `Remove log ${name}`);
            drop.addEventListener('click', () => {
                extraLogs.splice(k, 1);
                showExtraLogs();
                run();
            });
            item.append(`Log ${k + 2}: ${name} `, drop);
            moreLogs.append(item);
        });
    };
    files.addEventListener('change', async () => {
        $('lists').dataset.pending = 'true';
        setError(files, null);
        const chosen = [...files.files];
        const large = chosen.find((f) => f.size > LARGEST_FILE);
        if (large) {
            setError(files, `${large.name} is too large for a list or a log`);
            return;
        }
        let texts;
        try {
            texts = await Promise.all(chosen.map((f) => f.text()));
        } catch (e) {
            setError(files, `the files cannot be read: ${e.message}`);
            return;
        }
        // A telecine log opens with its Heading; anything else is the list.
        const isLog = (text) => /^(\uFEFF)?\s*Heading\b/i.test(text);
        const logs = chosen.map((f, k) => [f.name, texts[k]]).filter(([, t]) => isLog(t));
        const list = texts.find((t) => !isLog(t));
        if (list !== undefined) edlArea.value = list;
        if (logs.length > 0) {
            logArea.value = logs[0][1];
            extraLogs = logs.slice(1);
        }
        showExtraLogs();
        run();
    });
    const urls = [];  // the CSV downloads on show, freed when they go
    const run = tool([rate, stock, leader, handles, edlArea, logArea, reelMap], [summary], () => {
        out.replaceChildren();
        urls.splice(0).forEach((u) => URL.revokeObjectURL(u));
        const n = handles.value.trim() === '' ? 1 : Number(handles.value);
        if (!Number.isInteger(n) || n < 0 || n > 10000)
            throw new Refusal(handles, 'handles are frames 0 to 10000');
        if (!edlArea.value.trim() || !logArea.value.trim()) {
            summary.textContent = 'Give an EDL and its telecine log.';
            return;
        }
        const options = { rate: rate.value, leader: leader.value.trim() || '0+00', handles: n };
        if (stock.value) options.stock = stock.value;
        // "REEL TAPE" a line, as the tool's --reel-map file: the tape is the
        // rest of the line; blank lines and lines opening with # are skipped.
        const pairs = [];
        reelMap.value.split(/\r\n|\r|\n/).forEach((raw, k) => {
            const line = raw.trim();
            if (line === '' || line.startsWith('#')) return;
            const blank = line.search(/[ \t]/);
            if (blank < 0) throw new Refusal(reelMap, `line ${k + 1}: a reel map line is REEL TAPE`);
            pairs.push([line.slice(0, blank), line.slice(blank).trim()]);
        });
        if (pairs.length > 0) options.reelMap = pairs;
        let lists;
        try {
            lists = marlix.filmLists(edlArea.value, [logArea.value, ...extraLogs.map(([, t]) => t)], options);
        } catch (e) {
            // The refusals name what they are about.
            const field = /footage|leader/.test(e.message) ? leader : /stock/.test(e.message) ? stock : edlArea;
            throw new Refusal(field, e.message);
        }
        const t = lists.totals;
        summary.textContent = `${lists.cuts.length} cuts, ${lists.pulls.length} pulls, ` +
                              `${lists.missing.length} missing` +
                              (t?.feetFrames ? `, ${t.feetFrames} in all` : '');
        const findings = document.createElement('ul');
        findings.id = 'lists-findings';
        for (const f of lists.findings) {
            const where = f.log >= 0 ? `log ${f.log + 1}` : 'EDL';
            const event = f.event > 0 ? `${String(f.event).padStart(3, '0')}: ` : '';
            const item = document.createElement('li');
            item.className = f.severity;
            const line = f.line > 0 ? `:${f.line}` : '';
            item.textContent = `${where}${line}: ${f.severity}: ${event}${f.message}`;
            findings.append(item);
        }
        out.append(findings);
        for (const tab of lists.tables) {
            const section = document.createElement('section');
            section.className = 'list';
            const heading = document.createElement('h3');
            heading.textContent = `${tab.list[0].toUpperCase()}${tab.list.slice(1)} list`;
            const link = document.createElement('a');
            link.href = URL.createObjectURL(new Blob([tab.csv], { type: 'text/csv' }));
            urls.push(link.href);
            link.download = `${tab.list}.csv`;
            link.textContent = `Download ${tab.list}.csv`;
            section.append(heading, link, table(tab.columns, tab.rows, null));
            section.querySelector('table').id = `list-${tab.list}`;
            out.append(section);
        }
    });
    run();
}

// ---------------------------------------------------------------------------

fillChoices();
tabs();
$('version').textContent = marlix.version;
timecodeTools();
filmTools();
pullTools();
dropTargets();
edlTools();
listsTools();
$('loading').remove();
document.body.dataset.ready = 'true';
