import java.io.BufferedReader;
import java.io.FileInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.io.PrintStream;
import java.io.Reader;
import java.util.ArrayList;
import java.util.List;

/**
 * Reads a model in the OFF polygon format: an optional "OFF" header, the counts
 * of vertices, faces and edges, the vertices (x y z), then the faces (n, n vertex
 * indices, and optionally a colour on the rest of the face's line). Comments
 * start with "#". Face indices are kept as written, even when they name no vertex.
 */
public class OOGL_OFF {
    private double[] vertices;
    private Face[] faces;

    // The words of the file while it is read, line by line, without comments.
    // (Kept here rather than in a nested class: the applet ships as four class files.)
    private BufferedReader in;
    private String[] words = new String[0];
    private int pos = 0;
    private int line = 0;

    private OOGL_OFF(BufferedReader in) {
        this.in = in;
    }

    public int vertexCount() { return vertices.length / 3; }
    public int faceCount() { return faces.length; }
    public double x(int k) { return vertices[3 * k]; }
    public double y(int k) { return vertices[3 * k + 1]; }
    public double z(int k) { return vertices[3 * k + 2]; }
    public Face face(int i) { return faces[i]; }

    /** x, y, z of every vertex in a row. */
    public double[] coordinates() { return vertices.clone(); }

    public static OOGL_OFF read(InputStream in) throws IOException {
        // The files are Windows-1252; the numbers that matter are plain ASCII.
        return read(new InputStreamReader(in, "ISO-8859-1"));
    }

    public static OOGL_OFF read(Reader in) throws IOException {
        OOGL_OFF t = new OOGL_OFF(new BufferedReader(in));
        t.parse();
        t.in = null;
        t.words = null;
        return t;
    }

    private void parse() throws IOException {
        String first = peek();
        if (first == null) throw new IOException("empty OFF file");
        if (first.equals("OFF")) next();
        else if (!looksNumeric(first)) throw new IOException("not an OFF file: " + first);

        int v = count("vertex count");
        int f = count("face count");
        count("edge count");

        // Grow as the data comes, so that a wrong count cannot ask for huge memory.
        double[] vs = new double[Math.min(v, 4096) * 3];
        for (int k = 0; k < v; k++) {
            if (3 * k + 3 > vs.length) {
                double[] bigger = new double[Math.min(v, 2 * (k + 1)) * 3];
                System.arraycopy(vs, 0, bigger, 0, vs.length);
                vs = bigger;
            }
            for (int c = 0; c < 3; c++) vs[3 * k + c] = number("vertex " + k);
        }

        List<Face> fs = new ArrayList<Face>();
        for (int i = 0; i < f; i++) {
            int n = count("size of face " + i);
            int faceLine = line();
            List<Long> idx = new ArrayList<Long>();
            for (int j = 0; j < n; j++) {
                idx.add(Long.valueOf(integer("face " + i)));
                faceLine = line();
            }
            long[] indices = new long[n];
            for (int j = 0; j < n; j++) indices[j] = idx.get(j).longValue();
            List<String> rest = restOfLine(faceLine);
            if (rest.size() >= 3) {
                float[] rgb = new float[3];
                boolean bytes = false;
                for (int c = 0; c < 3; c++) {
                    rgb[c] = (float) parseDouble(rest.get(c), "colour of face " + i);
                    if (rgb[c] > 1f) bytes = true;
                }
                if (bytes) for (int c = 0; c < 3; c++) rgb[c] /= 255f;
                fs.add(new Face(indices, rgb[0], rgb[1], rgb[2]));
            } else {
                fs.add(new Face(indices));
            }
        }
        vertices = vs;
        faces = fs.toArray(new Face[0]);
    }

    private static boolean looksNumeric(String s) {
        char c = s.charAt(0);
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }

    private String need(String what) throws IOException {
        String s = next();
        if (s == null) throw new IOException("OFF file ends before the " + what);
        return s;
    }

    private int count(String what) throws IOException {
        long n = integer(what);
        if (n < 0 || n > Integer.MAX_VALUE / 3) throw new IOException("bad " + what + ": " + n);
        return (int) n;
    }

    private long integer(String what) throws IOException {
        String s = need(what);
        try {
            return Long.parseLong(s.startsWith("+") ? s.substring(1) : s);
        } catch (NumberFormatException e) {
            throw new IOException("bad number in the " + what + ": " + s);
        }
    }

    private double number(String what) throws IOException {
        return parseDouble(need(what), what);
    }

    private static double parseDouble(String s, String what) throws IOException {
        try {
            return Double.parseDouble(s);
        } catch (NumberFormatException e) {
            throw new IOException("bad number in the " + what + ": " + s);
        }
    }

    private boolean fill() throws IOException {
        while (pos >= words.length) {
            String s = in.readLine();
            if (s == null) return false;
            line++;
            int hash = s.indexOf('#');
            if (hash >= 0) s = s.substring(0, hash);
            s = s.trim();
            words = s.isEmpty() ? new String[0] : s.split("\\s+");
            pos = 0;
        }
        return true;
    }

    private String peek() throws IOException { return fill() ? words[pos] : null; }
    private String next() throws IOException { return fill() ? words[pos++] : null; }
    private int line() { return line; }

    /** What is left of line l when it is still the current line. */
    private List<String> restOfLine(int l) {
        List<String> rest = new ArrayList<String>();
        if (l == line) {
            while (pos < words.length) rest.add(words[pos++]);
        }
        return rest;
    }

    /** Prints what a file holds, one vertex or face a line, for checking a file by hand. */
    public static void main(String[] args) {
        if (args.length != 1) {
            System.err.println("usage: java OOGL_OFF file.off");
            System.exit(2);
        }
        try {
            InputStream in = new FileInputStream(args[0]);
            OOGL_OFF m;
            try {
                m = read(in);
            } finally {
                in.close();
            }
            PrintStream out = System.out;
            out.println("vertices " + m.vertexCount());
            out.println("faces " + m.faceCount());
            for (int k = 0; k < m.vertexCount(); k++)
                out.println("v " + m.x(k) + " " + m.y(k) + " " + m.z(k));
            for (int i = 0; i < m.faceCount(); i++) {
                Face f = m.face(i);
                StringBuilder b = new StringBuilder("f ").append(f.size());
                for (int j = 0; j < f.size(); j++) b.append(' ').append(f.index(j));
                if (f.hasColour())
                    b.append(" colour ").append(f.red()).append(' ').append(f.green()).append(' ').append(f.blue());
                out.println(b);
            }
            out.flush();
        } catch (IOException e) {
            System.err.println(args[0] + ": " + e.getMessage());
            System.exit(1);
        }
    }
}
