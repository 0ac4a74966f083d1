// The sources' colours from the editors' TextMate grammar, read when the page is bundled:
// each pattern is tried where the stream stands, first match wins, as in the grammar.
import { StreamLanguage } from '@codemirror/language';
import grammar from '../editors/vscode/syntaxes/scenario-sources.tmLanguage.json';

// The grammar's scope names, by their first parts, as CodeMirror's highlighting tags.
const tagOfScope = [
  ['entity.name.section', 'heading'],
  ['keyword', 'keyword'],
  ['string', 'string'],
  ['constant.numeric', 'number'],
  ['comment', 'comment'],
  ['punctuation', 'punctuation'],
];

function tagOf(scope) {
  const found = tagOfScope.find(([prefix]) => scope.startsWith(prefix));
  return found ? found[1] : null;
}

// Sticky, so that a pattern matches only where the stream stands; a pattern starting with
// "^" then matches only at the start of a line, as in the grammar.
const rules = grammar.patterns
  .filter((pattern) => pattern.match)
  .map((pattern) => ({ regex: new RegExp(pattern.match, 'y'), tag: tagOf(pattern.name) }));

export const scenarioSources = StreamLanguage.define({
  name: 'scenario',
  token(stream) {
    for (const { regex, tag } of rules) {
      regex.lastIndex = stream.pos;
      const match = regex.exec(stream.string);
      if (match && match[0].length > 0) {
        stream.pos += match[0].length;
        return tag;
      }
    }
    stream.next();
    return null;
  },
});
