// Compiled (never run) by tsc against the declarations beside the built
// module: they parse, and they type the calls the README shows.
import { cadence, edl, filmLists, labelSample, labelText, onDiagnostic, pull, tcAdd, tcConvert, tcDuration,
         tcFrames, tcText, version, xlate } from '../site/marlix.mjs';

const text: string = labelText('F35', 1000, { prefix: 'KJ 12 3456' }) + tcText(-1, 25, { wrap: false }) + version;
const frames: number = labelSample('P', ' 01:02:03.04', { strict: false }) +
                       tcFrames('00:01:00;02', '29.97df') + tcDuration('23:00:00:00', '01:00:00:00', 25, { signed: true });
const moved: string = tcAdd('00:00:00:00', 10n ** 15n, 25, { wrap: false }) +
                      tcConvert('00:00:00:04', 24, 30, { method: 'pulldown', sync: '00:00:00:00=00:00:01:00' });
const [keycode, split]: [string, boolean] = pull('01:00:00:02', 'F35', 29.97, 'KJ 12 3456 0000+00=01:00:00:00');
const [, , footage, ink]: [string, boolean, string | null, string | null] =
    pull('01:00:00:02', 'F35', 29.97, 'KJ 12 3456 0000+00=01:00:00:00', { footage: '12+00' });
const doc = edl.read(new Uint8Array(0), '29.97', { strict: true });
const recorded: string = doc.edits.map((e) => e.recordIn).join() + doc.text +
    edl.convert('', 24, 30, { method: 'pulldown', reelSyncs: { A001: '00:00:00:00=00:00:00:00' } }).changed[0].message;
const lists = filmLists('', [''], { rate: 29.97, reelMap: [['DAY01_TA', 'DAY01_TAPE1']], leader: '12+00' });
const csv: string = lists.tables.map((t) => t.csv).join('') + lists.audioEdl('REEL 1') + lists.cuts[0].keyIn;
onDiagnostic((message: string) => message.length);
onDiagnostic(null);
const seconds: number = xlate(1, 'Playout25p', 'Audio', { projectRate: 25, roundToFrame: true });
const fields: string[] = cadence('24:30i', 1);
// @ts-expect-error: a label type is a name or a number
labelText(true, 0);
// @ts-expect-error: the pulldown methods are named
tcConvert('00:00:00:00', 24, 30, { method: 'speed' });
// @ts-expect-error: film lists need a rate
filmLists('', []);
// @ts-expect-error: the two-column pull has no footage
const [, , noFootage] = pull('01:00:00:02', 'F35', 29.97, 'x');
export { noFootage, csv, fields, footage, frames, ink, keycode, moved, recorded, seconds, split, text };
