// The JavaScript binding, as built by make wasm into web/site.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

import * as marlix from '../site/marlix.mjs';

const source = (path) => readFileSync(new URL(path, import.meta.url), 'utf8');
const functions = Object.keys(marlix).filter((k) => typeof marlix[k] === 'function').sort();

// The Python module's functions, from its stubs.
// (An overloaded function is stubbed once per form.)
const python = [...new Set([...source('../../python/marlix.pyi').matchAll(/^def (\w+)\(/gm)]
                               .map((m) => m[1]))];
const camel = (name) => name.replace(/_([a-z0-9])/g, (_, c) => c.toUpperCase());
// Python's batch functions have no counterpart: JavaScript maps over one.
// Film lists are not bound to JavaScript yet.
const pythonOnly = ['label_texts', 'label_samples', 'tc_texts', 'tc_frames_batch', 'film_lists'];

test('the functions are the Python module\'s, camelCase', () => {
    const expected = python.filter((name) => !pythonOnly.includes(name)).map(camel).sort();
    assert.deepEqual(functions, expected);
});

test('the declarations name every function', () => {
    const declared = [...source('../marlix.d.mts').matchAll(/^export function (\w+)\(/gm)]
                         .map((m) => m[1]).sort();
    assert.deepEqual(declared, functions);
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
    ];
    for (const [call, message] of cases) assert.throws(call, { name: 'Error', message }, call.toString());
});
